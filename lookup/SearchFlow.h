#pragma once
// The search of the lookup window, on plain models of its result lists and
// headings: what the user typed (an area code, "city, state", a city alone,
// or ", state") becomes queries of the two record sets, and the answer fills
// the lists. The window shows these models and answers the city choice.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/ExchangeTable.h"
#include "lookup/ListBox.h"
#include "lookup/LocalTime.h"
#include "lookup/TimeZoneLine.h"

namespace tq {

// Asks which of several places ("Dayton, Ohio", ...) was meant; nothing when
// the user cancels.
class CityChooser {
 public:
  virtual ~CityChooser() = default;
  virtual std::optional<std::string> ChooseCity(const std::vector<std::string>& choices) = 0;
};

// Shows that a long step runs (the wait cursor).
class BusyIndicator {
 public:
  virtual ~BusyIndicator() = default;
  virtual void Begin() = 0;
  virtual void End() = 0;
};

class BusyScope {
 public:
  explicit BusyScope(BusyIndicator* busy) : busy_(busy) {
    if (busy_) busy_->Begin();
  }
  ~BusyScope() {
    if (busy_) busy_->End();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  BusyIndicator* busy_;
  std::optional<std::filesystem::path> dataFolder_;  // of the exchange file
};

// Messages shown in the largest-city list.
inline constexpr char kNoCitiesFound[] = "No cities found";
inline constexpr char kCityNotFound[] = "City not found in database";
// Headings of the two lists whose heading does not change with the answer.
inline constexpr char kStateOrProvinceHeading[] = "State or province:";
inline constexpr char kTimeZoneHeading[] = "Time zone of largest city:";
// What the input field holds before the first search.
inline constexpr char kInitialQuery[] = "000";

// The city choices in the order in which they are offered: sorted without
// regard to case, equal texts in the order given.
std::vector<std::string> ChoicesInShownOrder(const std::vector<std::string>& choices);

// A place whose clock an answer shows.
struct TimePlace {
  std::string name;  // "Dayton, OH"
  float fTimeZone;
  int bDaylightSaving;
  std::int64_t population;
};

// Splits "Dayton , OH" into "Dayton" and "OH", and ", New York" into "" and
// "NY" (a full state name becomes its code); the text after the comma is
// appended to `state`. True when the text held a comma after a city part.
bool SplitCityState(const std::string& place, std::string& city, std::string& state);
// Drops leading, trailing and repeated spaces (only code 32).
void CollapseSpaces(std::string& text);

class SearchFlow {
 private:
  // The record sets of the first constructor (declared before the references
  // to them); empty when the caller lends its own.
  std::unique_ptr<CAreaCodeSet> ownAreaCodes_;
  std::unique_ptr<CCitySet> ownCities_;

 public:
  // Data files are read from `dataFolder`, or the current directory.
  SearchFlow(std::filesystem::path dataFolder, CityChooser& chooser,
             BusyIndicator* busy = nullptr);
  // A search over record sets of the caller, which must outlive the flow (the
  // benchmarks lend sets that scan their columns instead of using indexes).
  SearchFlow(CAreaCodeSet& areaCodes, CCitySet& cities, CityChooser& chooser,
             BusyIndicator* busy = nullptr);

  // Reads both data files (once; later calls only requery), and the
  // exchange file of the data folder given to the first constructor, and
  // tells in dataProblems what went wrong.
  void OpenData();

  // Searches the text of `editQuery` and fills the lists.
  void OnOK();
  // Double-click follow-ups on the entry `selected` of a list (-1: none).
  // They start a new search unless the input already holds the entry;
  // true when a search ran.
  bool OnDblclkAreaCodes(int selected);
  bool OnDblclkLargestCity(int selected);
  bool OnDblclkMajorCities(int selected);

  void LookupPlace(const std::string& city, const std::string& state);
  void ShowAreaCodes(const std::vector<std::int32_t>& areaCodes);

  std::string editQuery = kInitialQuery;
  ListBox listAreaCodes{ListBox::Order::kSorted};
  ListBox listLargestCity{ListBox::Order::kSorted};
  ListBox listMajorCities{ListBox::Order::kSorted};
  ListBox listStateOrProvince{ListBox::Order::kAdded};
  ListBox listTimeZone{ListBox::Order::kAdded};
  std::string lblAreaCodes = "Area code(s):";
  std::string lblLargestCity = "Largest city in area code(s):";
  std::string lblMajorCities = "Major cities in area code(s):";
  // The state or province of the last lookup that found one.
  std::string strFoundState;

  CAreaCodeSet& setAreaCodes;
  CCitySet& setCities;
  // Which day it is, for the time zone line.
  std::function<CalendarDay()> today = LocalToday;
  // The instant of the local times (seconds since 1970, UTC).
  std::function<std::int64_t()> nowUtc = UtcNow;

  // One text per data file that is missing, unreadable, refused or damaged
  // (code page 1252), filled by OpenData().
  std::vector<std::string> dataProblems;
  ExchangeTable exchanges;
  // The places of the answer's local times: the typed place of a place
  // search, else the largest place of each time zone found, largest first.
  std::vector<TimePlace> timePlaces;
  // "937-222" when the input named an exchange (and exchanges are known),
  // with its place when the exchange file lists it.
  std::string exchangeNumber;
  std::optional<ExchangePlace> exchangePlace;

  // True once a search has filled the lists (false before the first one and
  // after a cancelled city choice).
  bool HasAnswer() const { return listLargestCity.GetCount() > 0; }

  // The status line: data problems, the local times, the exchange, joined
  // by " \xB7 " (code page 1252).
  std::string StatusText() const;
  // The row of `listMajorCities` that is the exchange's place, or -1.
  int ExchangeRowInMajorCities() const;

 private:
  // Returns false when the user cancelled the city choice.
  bool SearchCityOnly(const std::string& city);
  void AddCodesOfEveryPlace(const std::string& state, std::vector<std::int32_t>& areaCodes);
  void AddCodesOfCity(std::int32_t cityId, std::vector<std::int32_t>& areaCodes);
  std::vector<std::string> CollectChoices();
  bool SearchPlaceOf(const ListBox& list, int selected);
  void SearchNumber(std::int32_t areaCode, std::int32_t exchange);
  // Lists the places of the codes and notes their clocks; returns the
  // largest place's id.
  std::optional<std::int32_t> ListPlacesOfCodes(const std::vector<std::int32_t>& areaCodes);
  void NoteTimePlace();
  // The current record of setCities as a place with a clock.
  TimePlace CurrentTimePlace() const;

  CityChooser& chooser_;
  BusyIndicator* busy_;
  std::optional<std::filesystem::path> dataFolder_;  // of the exchange file
};

}  // namespace tq
