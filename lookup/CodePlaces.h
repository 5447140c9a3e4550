#pragma once
// The places of each area code, laid out at the code's first search (once
// per data set) in the order of the code's list (by name, or for the codes
// whose entries carry their state by that text), with what a list reads of
// each place side by side, and what the code's places decide beside the
// list: its largest city, the largest place of each time zone, and each
// state's places with the last one reached. A search of one code reads its
// places in order; several codes merge their runs. "Reached" is the order of
// the code's pairs in arc.bin, the order in which a search meets them; of
// equals, the first reached counts.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/PlaceKinds.h"
#include "time/ZoneLaw.h"

namespace tq {

// A major cities list holds the places above kMajorCityPopulation and at
// least this many of the most populous places.
inline constexpr std::size_t kLeastMajorCities = 25;

class CodePlaces {
 public:
  struct Place {
    std::uint32_t row;
    std::uint32_t position;  // in the name order of the city set
    std::uint32_t group;     // the same for places whose entries read alike, case aside
    std::uint32_t population;
    std::uint32_t state;     // the same number for the same state text
    std::uint32_t reach;     // its pair in arc.bin
    bool withState;          // its entry carries its state
  };
  // An entry of a list, and the places it stands for.
  struct Entry {
    std::uint32_t row;  // the place people mean of those whose entries read alike
    std::uint32_t population;
    bool withState;
    bool listed;  // among the major cities
  };
  struct EntryPlace {
    std::uint32_t row;
    std::uint32_t entry;
  };
  struct Clock {
    int zone;
    std::int64_t population;
    std::uint32_t row;
    std::uint32_t reach;       // of that place
    std::uint32_t firstReach;  // of the zone's first place
  };
  struct StatePlaces {
    std::uint32_t state;
    std::uint32_t places;
    std::uint32_t lastRow;
    std::uint32_t lastReach;
  };
  struct Largest {
    std::int64_t population = -1;  // -1: none
    std::int32_t cityId = 0;
    std::uint32_t reach = 0;
  };
  struct Code {
    std::uint32_t begin = 0, end = 0;  // its places, and the places of its entries
    std::uint32_t entriesEnd = 0;      // its entries: [begin, entriesEnd)
    bool withState = false;            // its entries carry their state
    Largest largest;                   // of the places that may be the largest city
    Largest largestOfAll;
    std::vector<Clock> clocks;         // the zone first reached first
    std::vector<StatePlaces> states;
  };

  CodePlaces();
  ~CodePlaces();
  CodePlaces(const CodePlaces&) = delete;
  CodePlaces& operator=(const CodePlaces&) = delete;

  // Takes the loaded sets, which must stay as they are while codes are
  // found; `law` null: no place has a zone. No code is laid out yet: each is
  // at its first Find, so a search pays for the codes it reads, not for all.
  void Build(const CCitySet& cities, const CAreaCodeSet& areaCodes, const ZoneLaw* law,
             const PlaceKinds& kinds);
  // The code's layout, made at the first call, or null for a code without
  // places. Layouts stay where they are while the sets do.
  const Code* Find(std::int32_t areaCode);
  // A place of a code's run: the run of `code` is [code.begin, code.end).
  const Place& PlaceAt(std::uint32_t at) const { return places_[at]; }
  std::span<const Place> PlacesOf(const Code& code) const {
    return {places_.get() + code.begin, code.end - code.begin};
  }
  // The code's entries, as its list alone shows them, and their places.
  std::span<const Entry> EntriesOf(const Code& code) const {
    return {entries_.get() + code.begin, code.entriesEnd - code.begin};
  }
  std::span<const EntryPlace> EntryPlacesOf(const Code& code) const {
    return {entryPlaces_.get() + code.begin, code.end - code.begin};
  }

  // Appends the entries of `places`, which are in the order of a list: one
  // for the places whose entries read alike, standing for the one people
  // mean; every entry above the line of major cities listed, and at least
  // kLeastMajorCities of the most populous.
  static void MakeEntries(std::span<const Place> places, const CCitySet& cities,
                          const PlaceKinds& kinds, std::vector<Entry>& entries,
                          std::vector<EntryPlace>& entryPlaces);

 private:
  class StateNumbers;
  void LayOut(std::uint32_t areaCode);

  const CCitySet* cities_ = nullptr;
  const CAreaCodeSet* areaCodes_ = nullptr;
  const ZoneLaw* law_ = nullptr;
  const PlaceKinds* kinds_ = nullptr;
  std::vector<Code> codes_;    // by area code
  std::vector<bool> laidOut_;  // by area code
  // Each code has the room of its pairs in each of these, from its begin: its
  // places, its entries and their places. Room no code has reached yet is
  // never touched.
  std::unique_ptr<Place[]> places_;
  std::unique_ptr<Entry[]> entries_;
  std::unique_ptr<EntryPlace[]> entryPlaces_;  // those of each code, numbered in it
  std::unique_ptr<StateNumbers> states_;      // of every code laid out
  // What LayOut reads of a code's pairs, kept for the next code.
  struct Met {
    std::uint32_t position, reach;
  };
  std::vector<Met> met_;
  std::vector<Entry> madeEntries_;
  std::vector<EntryPlace> madeEntryPlaces_;
};

}  // namespace tq
