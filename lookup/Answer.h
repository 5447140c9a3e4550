#pragma once
// The answer of one search, as one immutable value: what was asked, how it
// ended, the five lists with their headings, the places listed with their
// figures, the times, the exchange and the data problems. The search flow
// (SearchFlow) alone decides it; the window, the status line, the map, the
// text and JSON of tqlookup, batch rows and the desktop search only show it.
// Texts are code page 1252.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/PlannedCodes.h"
#include "data/CitySet.h"
#include "data/DataFile.h"
#include "number/NumberLookup.h"
#include "postal/PostalTable.h"
#include "time/LocalTime.h"
#include "time/TimeZoneLine.h"
#include "time/ZoneLaw.h"

namespace tq {

// Messages shown in the largest-city list.
inline constexpr char kNoCitiesFound[] = "No cities found";
inline constexpr char kCityNotFound[] = "City not found in database";
// Headings of the two lists whose heading does not change with the answer.
inline constexpr char kStateOrProvinceHeading[] = "State or province:";
inline constexpr char kTimeZoneHeading[] = "Time zone of largest city:";

// The one state line of the codes whose provinces and territories share
// them (867; 902 and 782), or null.
const char* SharedRegionLine(std::int32_t areaCode);

// How a search ended, for scripts (AnswerOutcomeName gives the JSON word).
enum class AnswerOutcome {
  kNone,       // no search yet
  kFound,      // the lists hold an answer
  kNotFound,   // "City not found in database"
  kNoCities,   // "No cities found"
  kChoices,    // several places match and nobody chose (choices holds them)
  kCancelled,  // several places matched and the choice was cancelled
  kPlanned,    // an area code announced but not yet in service (planned holds it)
};
const char* AnswerOutcomeName(AnswerOutcome outcome);

// One list of the answer as the window shows it.
struct AnswerList {
  std::string heading;
  std::vector<std::string> entries;
  bool operator==(const AnswerList&) const = default;
};

// A place of the answer with its figures.
struct PlaceFacts {
  std::string name;   // "Dayton"
  std::string state;  // "OH", or a country or "Non-geographic area code"
  std::int64_t population = 0;
  std::int32_t cityId = 0;
  bool listed = true;      // its entry is in the major cities list
  bool ownEntry = true;    // the place its entry stands for (places that read alike share one)
  bool withState = false;  // its entry carries its state ("Iqaluit, NU")
  bool operator==(const PlaceFacts&) const = default;
};

// An iterator over a list read by position: each step reads `list[at]`.
template <class List, class Value>
class IndexIterator {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = Value;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = Value;
  IndexIterator() = default;
  IndexIterator(const List* list, std::size_t at) : list_(list), at_(at) {}
  Value operator*() const { return (*list_)[at_]; }
  IndexIterator& operator++() { ++at_; return *this; }
  IndexIterator operator++(int) { IndexIterator was = *this; ++at_; return was; }
  bool operator==(const IndexIterator& other) const { return at_ == other.at_; }

 private:
  const List* list_ = nullptr;
  std::size_t at_ = 0;
};

// A list of an answer made of rows of the city columns they were read from,
// which the list holds, so that it stays whole however long it is held, and
// copies no text however long it is. `List` reads the row at a position as
// a `Value`.
template <class List, class RowType, class Value>
class ColumnRows {
 public:
  using Row = RowType;
  using Iterator = IndexIterator<List, Value>;
  using const_iterator = Iterator;
  using value_type = Value;

  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  Iterator begin() const { return {static_cast<const List*>(this), 0}; }
  Iterator end() const { return {static_cast<const List*>(this), rows_.size()}; }

  // For the search flow: the rows are of `columns`, written into Rows()
  // (whose storage is kept for the next list).
  void Reset(std::shared_ptr<const CityColumns> columns) {
    columns_ = std::move(columns);
    rows_.clear();
  }
  std::vector<Row>& Rows() { return rows_; }

 protected:
  std::shared_ptr<const CityColumns> columns_;
  std::vector<Row> rows_;
};

// A place of a PlaceList: its row and its marks, as in PlaceFacts.
struct PlaceRow {
  std::uint32_t row;
  bool listed, ownEntry, withState;
  bool operator==(const PlaceRow&) const = default;
};

// The places of an answer, in the order of its full list. Each place reads
// as its PlaceFacts; two lists are equal when their places read the same.
class PlaceList : public ColumnRows<PlaceList, PlaceRow, PlaceFacts> {
 public:
  PlaceFacts operator[](std::size_t at) const;
  bool Listed(std::size_t at) const { return rows_[at].listed; }
  bool operator==(const PlaceList& other) const;
};

// An entry of PlaceEntries: its place's row, and whether it carries its state.
struct EntryRow {
  std::uint32_t row;
  bool withState;
  bool operator==(const EntryRow&) const = default;
};

// The entries of a list of places, as the window shows them: each reads as
// its place's name, or as its name and state ("Iqaluit, NU"). Two lists are
// equal when their entries read the same.
class PlaceEntries : public ColumnRows<PlaceEntries, EntryRow, std::string> {
 public:
  std::string operator[](std::size_t at) const;
  // Every entry's text, in order.
  std::vector<std::string> Texts() const;
  bool operator==(const PlaceEntries& other) const;
  bool operator==(const std::vector<std::string>& texts) const;
};

// The major cities' heading and entries.
struct PlaceEntryList {
  std::string heading;
  PlaceEntries entries;
  bool operator==(const PlaceEntryList&) const = default;
};

// The other places of one state that share the name of the place answered
// ("also 17 other places named Washington in Pennsylvania").
struct Namesakes {
  std::string name;   // the name they share: "Washington"
  std::string state;  // "PA"
  std::vector<PlaceFacts> places;  // the others, the one meant first
  bool operator==(const Namesakes&) const = default;
};

// One place of a city choice: the text offered ("Springfield, Missouri";
// texts that would read alike carry what tells them apart, "Springfield,
// Pennsylvania (610/484)"), and the place's figures.
struct CityChoice {
  std::string text;
  std::string city;   // "Springfield"
  std::string state;  // "MO"
  std::int64_t population = 0;
  std::vector<std::int32_t> areaCodes;  // ascending
  std::int32_t cityId = -1;
  bool operator==(const CityChoice&) const = default;
};

// A place whose clock an answer shows.
struct TimePlace {
  std::string name;  // "Dayton, OH"
  float fTimeZone = 0;
  int bDaylightSaving = 0;
  std::int64_t population = 0;
  std::int32_t cityId = 0;
  int zone = -1;  // in the zone law; -1: the place has no local time
  bool operator==(const TimePlace&) const = default;
};

// The time part of an answer. Clocks and the time zone line are read from
// the zone law at an instant the front end gives, so that all of them agree.
struct AnswerTimes {
  // The time zone line of the largest city (none or one entry) at the
  // instant of the search.
  std::vector<std::string> zoneLine;
  std::optional<TimePlace> zonePlace;  // the largest city the line is of
  // The places a call may ring at, whose clocks are shown: the searched
  // place (a typed place, or the exchange's place of a full number), else
  // the largest place of each zone found, largest first.
  std::vector<TimePlace> clockPlaces;
  // The clocks are of the one place searched, not of an area code's zones.
  bool searchedPlace = false;
  // The area code of a single-code answer ("850"), for telling a split.
  std::string areaCode;
  CallingHours callingHours;
  // Null when the zone law could not be read (the problems tell it).
  std::shared_ptr<const ZoneLaw> law;
  bool operator==(const AnswerTimes&) const = default;
};

// A clock of the answer at one instant, with the name of its place.
struct LocalTimeLine {
  LocalClock clock;   // its zoneName: "Eastern Daylight Time"
  std::string place;  // "Dayton, OH"
};
// The clocks of the places at `utcSeconds`: one per kind of time in force
// (the largest place of each), places without a zone left out.
std::vector<LocalTimeLine> LocalTimesAt(const AnswerTimes& times, std::int64_t utcSeconds);
// The time zone line of the largest city at `utcSeconds` (none or one entry).
std::vector<std::string> ZoneLineAt(const AnswerTimes& times, std::int64_t utcSeconds);
// "Eastern and Central" when the clocks at `utcSeconds` are of more than one
// zone; "" for one zone.
std::string ZoneFamiliesText(const AnswerTimes& times, std::int64_t utcSeconds);
// The same led by the area code: "850: Eastern and Central".
std::string SplitZonesText(const AnswerTimes& times, std::int64_t utcSeconds);
// The local time of the answer and whether one may call now, by VerdictAt
// (LocalTime.h): given whenever the time is certain, the places' clocks
// agreeing (the typed place, the exchange's place, or every place of area
// codes that keep one time); neither for places that keep different
// times, or without a clock.
CallVerdict VerdictOf(const AnswerTimes& times, std::int64_t utcSeconds);
std::optional<bool> CallableAt(const AnswerTimes& times, std::int64_t utcSeconds);

// The ZIP or postal code searched and the place it answers.
struct PostalAnswer {
  PostalCode code;
  // The place's facts (its name and state) when the code has a known place.
  std::optional<PlaceFacts> place;
  // How its place was found; kUnknown also for a code that is not listed.
  PostalBasis basis = PostalBasis::kUnknown;
  bool listed = false;  // the code is one the data knows
  bool operator==(const PostalAnswer&) const = default;
};

struct Answer;
// The full list: one entry per text of the places, in their order.
std::vector<std::string> AllPlaceEntries(const Answer& answer);
// Whether the full list holds places that the major cities leave out.
bool HasUnlistedPlaces(const Answer& answer);

struct Answer {
  std::string queryGiven;  // the text as typed
  std::string query;       // as the input field shows it afterwards: "937", "Dayton, Ohio"
  AnswerOutcome outcome = AnswerOutcome::kNone;

  AnswerList areaCodes{"Area code(s):", {}};
  AnswerList largestCity{"Largest city in area code(s):", {}};
  PlaceEntryList majorCities{"Major cities in area code(s):", {}};
  // The heading of the full list of the places of the codes, the major
  // cities among them ("All places (96) in area code:"; its entries are
  // AllPlaceEntries).
  std::string allPlacesHeading = "All places in area code(s):";
  std::vector<std::string> stateOrProvince;  // the state line (none or one entry)
  // The state or province the map shows ("OH"; "" for none).
  std::string foundState;
  // Every place of the codes with its figures, in the order of the full list
  // (places that share an entry's text follow each other, the one the entry
  // stands for first); the largest city's facts.
  PlaceList places;
  std::optional<PlaceFacts> largestPlace;
  // The place searched shares its name with other places of its state.
  std::optional<Namesakes> namesakes;
  // With kPlanned: the code announced.
  std::optional<PlannedCode> planned;
  // When a ZIP or postal code was searched.
  std::optional<PostalAnswer> postal;

  AnswerTimes times;

  // The number in E.164 form ("+19372221234") when all ten digits were given.
  std::string e164;
  // When the input named an exchange and exchanges are known.
  std::optional<NumberResult> exchange;
  // The row of majorCities, and of AllPlaceEntries, that is the exchange's
  // place, or -1.
  int exchangeRow = -1;
  int exchangeRowInAll = -1;

  // One for each data file that is missing, unreadable, refused or damaged.
  std::vector<LoadOutcome> problems;
  // With kChoices: the places to choose from, in the order shown.
  std::vector<CityChoice> choices;

  // True when the lists hold an answer (not before the first search, nor
  // after a cancelled or open city choice).
  bool HasLists() const { return !largestCity.entries.empty(); }
  bool operator==(const Answer&) const = default;
};

}  // namespace tq
