#pragma once
// The search of the lookup, on plain models of its result lists and
// headings: what the user typed (an area code, a telephone number, a ZIP or
// postal code, "city, state", a city alone, or ", state"; RecognizeQuery
// tells which) becomes queries of the two
// record sets, and each search ends in one immutable Answer (Answer.h) that
// the window, tqlookup and every other front end show. The state between
// searches (the lists the double-click follow-ups read, the headings) is the
// flow's own.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/KeyedSort.h"
#include "data/AreaCodeSet.h"
#include "data/CitySet.h"
#include "data/ExchangeTable.h"
#include "data/PlaceKinds.h"
#include "data/PlannedCodes.h"
#include "lookup/Answer.h"
#include "lookup/BusyIndicator.h"
#include "lookup/CodePlaces.h"
#include "lookup/ListBox.h"
#include "number/NumberLookup.h"
#include "postal/PostalTable.h"
#include "postal/QueryKind.h"
#include "time/LocalTime.h"
#include "time/TimeZoneLine.h"

namespace tq {

// Asks which of several places ("Dayton, Ohio", ...) was meant. The choices
// come in the order in which they are offered (ChoicesInShownOrder).
struct CityChoiceReply {
  enum class Kind {
    kChosen,      // the choice of `cityId`, or (without one) the one reading `text`
    kCancelled,   // the user chose none
    kUnanswered,  // nobody could be asked: the answer lists the choices
  };
  Kind kind = Kind::kCancelled;
  std::string text;
  std::int32_t cityId = -1;
};

class CityChooser {
 public:
  virtual ~CityChooser() = default;
  virtual CityChoiceReply ChooseCity(const std::vector<CityChoice>& choices) = 0;
};

// What the input field holds before the first search.
inline constexpr char kInitialQuery[] = "000";

// The city choices in the order in which they are offered: the most
// populous first, equal populations by their text without regard to case,
// equal texts in the order given.
std::vector<CityChoice> ChoicesInShownOrder(const std::vector<CityChoice>& choices);


// Splits "Dayton , OH" into "Dayton" and "OH", and ", New York" into "" and
// "NY" (a full state name becomes its code); the text after the comma is
// appended to `state`. True when the text held a comma after a city part.
bool SplitCityState(const std::string& place, std::string& city, std::string& state);
// Drops leading, trailing and repeated spaces (only code 32).
void CollapseSpaces(std::string& text);

class SearchFlow {
 public:
  // Data files are read from `dataFolder`, or the current directory.
  SearchFlow(std::filesystem::path dataFolder, CityChooser& chooser,
             BusyIndicator* busy = nullptr);
  // A search over record sets of the caller, which must outlive the flow (the
  // benchmarks lend sets that scan their columns instead of using indexes).
  SearchFlow(CAreaCodeSet& areaCodes, CCitySet& cities, CityChooser& chooser,
             BusyIndicator* busy = nullptr);
  ~SearchFlow();
  SearchFlow(const SearchFlow&) = delete;
  SearchFlow& operator=(const SearchFlow&) = delete;

  // The instant of the time zone line that the answer carries (default: now).
  void SetNow(std::function<std::int64_t()> nowUtc) { nowUtc_ = std::move(nowUtc); }
  // The local hours in which a place may be called (default 08:00-21:00).
  void SetCallingHours(const CallingHours& hours) { callingHours_ = hours; }
  const CallingHours& GetCallingHours() const { return callingHours_; }

  // Reads both data files (once; later calls only requery), and the
  // exchange file and the zone law (ctz.bin, tzl.bin) of the data folder
  // given to the first constructor; the answer becomes an empty one that
  // tells what went wrong.
  void OpenData();
  // One for each data file that is missing, unreadable, refused or damaged,
  // as every answer carries them (ExitStatusFor tells what they cost).
  const std::vector<LoadOutcome>& DataProblems() const { return dataProblems_; }
  const LoadOutcome& CitiesOutcome() const { return setCities.Outcome(); }
  const LoadOutcome& AreaCodesOutcome() const { return setAreaCodes.Outcome(); }
  const LoadOutcome& ExchangesOutcome() const { return exchanges_.Outcome(); }
  // What became of reading the zone law (ctz.bin, tzl.bin); its problem,
  // or the note that the places' own zones stand in for it, is also one of
  // DataProblems().
  const LoadOutcome& ZoneLawOutcome() const { return zoneLawOutcome_; }
  // Whether knd.bin, pln.bin or pst.bin is there but could not be used whole.
  bool OptionalFilesDamaged() const {
    return kinds_.Outcome().problem != FileProblem::kNone ||
           plannedCodes_.Outcome().problem != FileProblem::kNone ||
           (postal_.Outcome().problem != FileProblem::kNone &&
            postal_.Outcome().problem != FileProblem::kMissing);
  }
  // The place of each ZIP code and FSA (empty without pst.bin).
  const PostalTable& PostalCodes() const { return postal_; }
  // The suggestion for a text that is a ZIP or postal code: its place as
  // "Dayton, OH" (code page 1252), the text that searches that place; ""
  // for any other text and for a code without a known place.
  std::string PlaceOfCode(std::string_view text) const;
  // The loaded record sets, for checks of what was read.
  const CCitySet& Cities() const { return setCities; }
  const CAreaCodeSet& AreaCodes() const { return setAreaCodes; }
  // The lookup of single numbers over the loaded data (built at first use).
  const NumberLookup& Numbers();

  // The text of the input field, searched by OnOK and compared with by the
  // double-click follow-ups.
  void SetQuery(std::string text) { editQuery = std::move(text); }
  const std::string& Query() const { return editQuery; }

  // Searches the query and makes the answer.
  void OnOK();
  // SetQuery, then OnOK: the answer, which stays whole however long it is
  // held, whatever is searched after it.
  std::shared_ptr<const Answer> Search(std::string text);
  // Double-click follow-ups on the entry `selected` of a list of the answer
  // (-1: none). They start a new search unless the query already holds the
  // entry; true when a search ran. A place's follow-up searches that very
  // place, with the text that finds it again (QueryOfPlace).
  bool OnDblclkAreaCodes(int selected);
  bool OnDblclkLargestCity(int selected);
  bool OnDblclkMajorCities(int selected);
  bool OnDblclkAllPlaces(int selected);  // of AllPlaceEntries

  // The text that searches the place of `cityId` and no other: "Dayton,
  // Ohio", or with what tells it from the places that text also finds
  // ("Springfield, Pennsylvania (610/484)"); "" for no such place.
  std::string QueryOfPlace(std::int32_t cityId);

  // The answer of the last search (or of OpenData), until the next search,
  // which may fill the same storage anew; Search gives one to keep.
  const Answer& GetAnswer() const { return *answer_; }

 private:
  // The record sets of the first constructor (declared before the references
  // to them); empty when the caller lends its own.
  std::unique_ptr<CAreaCodeSet> ownAreaCodes_;
  std::unique_ptr<CCitySet> ownCities_;
  CAreaCodeSet& setAreaCodes;
  CCitySet& setCities;

  // Returns false when no search ran: the user cancelled the city choice or
  // nobody could be asked.
  bool LookupPlace(const std::string& city, const std::string& state);
  void LookupState(const std::string& state);
  // Answers the place of `row`, its namesakes said.
  void LookupRow(std::uint32_t row);
  // Lists the codes and their places. The state line is `ownState` when a
  // place or a state was searched, else the state found among the places.
  void ShowAreaCodes(const std::vector<std::int32_t>& areaCodes,
                     const std::string* ownState = nullptr);
  // The rows a typed city names: its stored name (or, with knd.bin, its
  // plain name) is the city as typed or as the filter spells it, in the
  // state given ("" for any), in row order.
  std::vector<std::uint32_t> MatchPlaces(const std::string& city, const std::string& state);
  // The places a text with a qualifier names ("Springfield", "Pennsylvania
  // (610/484)"): those whose qualifier reads so; none for another text.
  std::vector<std::uint32_t> QualifiedPlaces(const std::string& city, const std::string& state);
  // Asks which of the places of `rows` was meant; the row chosen, or nothing
  // (the outcome then says why).
  std::optional<std::uint32_t> ChoosePlace(const std::vector<std::uint32_t>& rows);
  std::string QueryOfRow(std::uint32_t row);
  // "Dayton Ohio", "dayton oh": a city and its state without the comma, when
  // no city bears the whole text as its name and the last two words (or the
  // last one) name a state or province of such a city; false when it is not.
  bool SearchCityThenState(const std::string& text);
  // Returns false when no search ran: the user cancelled the city choice or
  // nobody could be asked.
  bool SearchCityOnly(const std::string& city);
  using NamePlace = CCitySet::NamePlace;
  void AddCodesOfEveryPlace(const std::string& state, std::vector<std::int32_t>& areaCodes);
  void AddCodesOfCity(std::int32_t cityId, std::vector<std::int32_t>& areaCodes);
  // The choices of the places of `rows`, those that would read alike told
  // apart by their qualifiers, in the order shown.
  std::vector<CityChoice> ChoicesOfRows(const std::vector<std::uint32_t>& rows);
  // The follow-up on the place of `row`: a new search unless the query holds it.
  bool SearchPlaceRow(std::optional<std::uint32_t> row);
  // Marks the entry of the place listed (the exchange's place of a number).
  void KeepListed(const std::string& place, const std::string& state);
  void SetMajorCitiesHeading();
  void SearchNumber(std::int32_t areaCode, const PhoneNumber* number);
  // Answers the place of a ZIP or postal code as if that place were typed,
  // or tells that the code has none.
  void SearchPostal(const PostalCode& code);
  // Lists the places of the codes and notes their clocks; returns the
  // largest place's id.
  std::optional<std::int32_t> ListPlacesOfCodes(const std::vector<std::int32_t>& areaCodes);
  // Makes the entries of the places of the codes, one per text in the
  // order of the lists, the major ones marked.
  void ListCodePlaces(const std::vector<const CodePlaces::Code*>& codes);
  // Puts the places of several codes into listed_, in the order of the lists.
  void ListMergedPlaces(const std::vector<const CodePlaces::Code*>& codes);
  void BuildCodePlaces();
  TimePlace TimePlaceOfRow(std::uint32_t row) const;
  PlaceFacts PlaceFactsOfRow(std::uint32_t row) const;
  // The current record of setCities as a place with a clock, and with its figures.
  TimePlace CurrentTimePlace() const;
  PlaceFacts CurrentPlaceFacts() const;
  // An empty answer to fill, on the storage of the last one where nobody
  // else holds that.
  std::shared_ptr<Answer> FreshAnswer();
  // Makes the answer of the state after a search.
  void Publish(std::string queryGiven);
  void AddMessage(const std::string& message, AnswerOutcome outcome);
  // The text of an entry: its name, or its name and state.
  std::string EntryText(std::uint32_t row, bool withState) const;
  // Resets what a search finds beside the lists.
  void BeginSearch();

  CityChooser& chooser_;
  BusyIndicator* busy_;
  std::optional<std::filesystem::path> dataFolder_;  // of the exchange file
  std::function<std::int64_t()> nowUtc_ = UtcNow;
  CallingHours callingHours_;
  std::shared_ptr<const ZoneLaw> law_;  // null when it could not be read
  ExchangeTable exchanges_;
  PlaceKinds kinds_;
  PlannedCodes plannedCodes_;
  PostalTable postal_;
  std::unique_ptr<NumberLookup> numbers_;
  std::vector<LoadOutcome> dataProblems_;
  LoadOutcome zoneLawOutcome_;

  std::string editQuery = kInitialQuery;
  ListBox listAreaCodes{ListBox::Order::kSorted};
  ListBox listLargestCity{ListBox::Order::kSorted};
  ListBox listStateOrProvince{ListBox::Order::kAdded};
  // The entries of the places of the codes, one per text in the order of the
  // lists (the major cities are those listed), and the places read, each
  // with its entry, in that order.
  using Entry = CodePlaces::Entry;
  using EntryPlace = CodePlaces::EntryPlace;
  std::vector<Entry> entries_;
  std::vector<EntryPlace> entryPlaces_;
  std::string lblAreaCodes = "Area code(s):";
  std::string lblLargestCity = "Largest city in area code(s):";
  std::string lblMajorCities = "Major cities in area code(s):";
  std::string lblAllPlaces = "All places in area code(s):";
  bool pluralCodes_ = false;
  // The state or province of the last lookup that found one.
  std::string strFoundState;

  // What the search in progress found beside the lists.
  AnswerOutcome outcome_ = AnswerOutcome::kNone;
  std::vector<TimePlace> timePlaces_;
  bool searchedPlace_ = false;
  std::optional<TimePlace> zonePlace_;
  std::optional<PlaceFacts> largestPlace_;
  std::optional<Namesakes> namesakes_;
  std::optional<PlannedCode> planned_;
  std::optional<PostalAnswer> postalAnswer_;
  bool postalUntold_ = false;  // a code was searched in a folder without pst.bin
  // The places of each code in the order of its list (made with the data).
  CodePlaces codePlaces_;
  std::size_t codePlacesRows_ = 0, codePlacesPairs_ = 0;
  // Scratch of ListPlacesOfCodes, kept between searches.
  std::vector<const CodePlaces::Code*> listedCodes_;
  std::vector<CodePlaces::Place> listed_;
  // A place of a code (its index in the layout) at the position of its name.
  struct PositionPlace {
    std::uint32_t position;
    std::uint32_t place;
  };
  // Sorts `items` by position (below `positions`), `spare` its scratch.
  void SortByPosition(std::vector<PositionPlace>& items, std::vector<PositionPlace>& spare,
                      std::size_t positions);
  std::vector<PositionPlace> positionScratch_, positionSpare_;
  std::vector<std::uint32_t> positionStarts_;
  std::optional<NumberResult> exchange_;
  std::string e164_;
  std::vector<CityChoice> openChoices_;

  std::shared_ptr<const Answer> answer_;
};

}  // namespace tq
