#include "lookup/SearchFlow.h"

#include <algorithm>
#include <bit>
#include <numeric>
#include <span>
#include <array>
#include <charconv>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

#include "base/Text.h"
#include "names/StateNames.h"
#include "number/PhoneNumber.h"

namespace tq {
namespace {

constexpr char kQuote[] = "'";

std::string AreaCodeText(std::int32_t areaCode) { return std::to_string(areaCode); }

// Writes "iCityId = N" into the filter without temporary strings: a
// state-wide search sets it for every place it reads.
void SetCityIdFilter(std::string& filter, std::int32_t cityId) {
  char digits[24];
  const char* end = std::to_chars(std::begin(digits), std::end(digits), cityId).ptr;
  filter.assign("iCityId = ").append(digits, static_cast<std::size_t>(end - digits));
}

// The order of the sorted list boxes: without regard to case, equal texts
// in the order given (with a stable sort).
bool ShownBefore(const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; }

// The code of a state or province named by its code ("oh") or its name
// ("Ohio", "new york"); "" for any other text.
std::string StateCodeOf(const std::string& text) {
  if (text.size() == 2) {
    std::string code = text;
    NormalizeStateText(code);
    return StateAbbrevToName(code) != code ? code : std::string();
  }
  const std::string code = StateNameToAbbrev(text);
  return code != text ? code : std::string();
}

}  // namespace

std::vector<CityChoice> ChoicesInShownOrder(const std::vector<CityChoice>& choices) {
  // The order is found on indexes, so each choice is copied once.
  std::vector<std::size_t> order(choices.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return ShownBefore(choices[a].text, choices[b].text);
  });
  std::vector<CityChoice> shown;
  shown.reserve(choices.size());
  for (const std::size_t i : order) shown.push_back(choices[i]);
  return shown;
}

std::vector<std::string> ChoicesInShownOrder(const std::vector<std::string>& choices) {
  std::vector<std::string> shown = choices;
  std::stable_sort(shown.begin(), shown.end(), ShownBefore);
  return shown;
}

void CollapseSpaces(std::string& text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (c == ' ' && (kept.empty() || kept.back() == ' ')) continue;
    kept += c;
  }
  if (!kept.empty() && kept.back() == ' ') kept.pop_back();
  text = std::move(kept);
}

bool SplitCityState(const std::string& place, std::string& city, std::string& state) {
  std::string text = place;
  CollapseSpaces(text);
  city.clear();
  const std::size_t comma = text.find(',');
  if (comma == 0) {
    // ", New York" names a state; other texts keep their letters only, so
    // ", O H" is the code OH.
    std::string rest = text.substr(1);
    if (rest.starts_with(' ')) rest.erase(0, 1);
    std::string code = StateNameToAbbrev(rest);
    if (code == rest) std::erase(code, ' ');
    state += code;
    return false;
  }
  if (comma == std::string::npos) {
    city = text;
    return false;
  }
  city = text.substr(0, comma);
  if (city.back() == ' ') city.pop_back();
  std::string_view rest = std::string_view(text).substr(comma + 1);
  if (rest.starts_with(' ')) rest.remove_prefix(1);
  state += rest;
  if (state.size() > 2) state = StateNameToAbbrev(state);
  return true;
}

SearchFlow::SearchFlow(std::filesystem::path dataFolder, CityChooser& chooser,
                       BusyIndicator* busy)
    : ownAreaCodes_(std::make_unique<CAreaCodeSet>(dataFolder)),
      ownCities_(std::make_unique<CCitySet>(dataFolder)),
      setAreaCodes(*ownAreaCodes_),
      setCities(*ownCities_),
      chooser_(chooser),
      busy_(busy),
      dataFolder_(std::move(dataFolder)),
      answer_(std::make_shared<const Answer>()) {}

SearchFlow::SearchFlow(CAreaCodeSet& areaCodes, CCitySet& cities, CityChooser& chooser,
                       BusyIndicator* busy)
    : setAreaCodes(areaCodes),
      setCities(cities),
      chooser_(chooser),
      busy_(busy),
      answer_(std::make_shared<const Answer>()) {}

SearchFlow::~SearchFlow() = default;

void SearchFlow::OpenData() {
  BusyScope wait(busy_);
  numbers_.reset();
  setCities.Open();
  setAreaCodes.Open();
  dataProblems_.clear();
  const auto tell = [this](LoadOutcome outcome) {
    if (outcome.problem != FileProblem::kNone) dataProblems_.push_back(std::move(outcome));
  };
  tell(setCities.Outcome());
  tell(setAreaCodes.Outcome());
  if (dataFolder_) {
    tell(exchanges_.Open(*dataFolder_));
    auto law = std::make_shared<ZoneLaw>();
    LoadOutcome lawOutcome = law->Open(*dataFolder_);
    law_.reset();
    if (lawOutcome.problem == FileProblem::kNone) law_ = std::move(law);
    tell(std::move(lawOutcome));
  }
  auto answer = std::make_shared<Answer>(*answer_);
  answer->problems = dataProblems_;
  answer_ = std::move(answer);
}

const NumberLookup& SearchFlow::Numbers() {
  if (!numbers_) {
    numbers_ = std::make_unique<NumberLookup>(setCities, setAreaCodes, exchanges_, law_.get());
  }
  return *numbers_;
}

std::shared_ptr<const Answer> SearchFlow::Search(std::string text) {
  editQuery = std::move(text);
  OnOK();
  return answer_;
}

void SearchFlow::AddMessage(const char* message, AnswerOutcome outcome) {
  listLargestCity.AddString(message);
  outcome_ = outcome;
}

void SearchFlow::OnOK() {
  lblAreaCodes = "Area code:";
  lblLargestCity = "Largest city in area code:";
  listAreaCodes.ResetContent();
  listStateOrProvince.ResetContent();
  listLargestCity.ResetContent();
  listMajorCities.ResetContent();
  searchedPlace_ = false;

  timePlaces_.clear();
  zonePlace_.reset();
  largestPlace_.reset();
  listedPlaces_.clear();
  exchange_.reset();
  e164_.clear();
  openChoices_.clear();
  outcome_ = AnswerOutcome::kFound;

  const std::string text = editQuery;
  if (const std::optional<PhoneNumber> phone = ParsePhoneNumber(text)) {
    if (phone->kind == PhoneNumber::Kind::kOtherCountry) {
      AddMessage(kNoCitiesFound, AnswerOutcome::kNoCities);
    } else {
      SearchNumber(phone->areaCode, phone->kind == PhoneNumber::Kind::kExchange ? &*phone : nullptr);
    }
    Publish(text);
    return;
  }
  // Not written as a number: "-212", "212,", or a place ("100 Mile House, BC").
  const std::int32_t number = AtoI(text);
  bool letters = false;
  for (char c : text) letters = letters || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (number != 0 && !letters) {
    SearchNumber(number, nullptr);
    Publish(text);
    return;
  }
  if (number == 0 && text.find('0') != std::string::npos) {  // "000", or a place with a postal code
    AddMessage(kNoCitiesFound, AnswerOutcome::kNoCities);
    Publish(text);
    return;
  }

  std::string city, state;
  const bool split = SplitCityState(text, city, state);
  bool chose = true;
  if (split || (city.empty() && !state.empty())) {
    LookupPlace(city, state);
  } else if (!city.empty() && !SearchCityThenState(city)) {
    chose = SearchCityOnly(city);
  }
  if (listLargestCity.GetCount() == 0 && chose) {
    AddMessage(kCityNotFound, AnswerOutcome::kNotFound);
    strFoundState.clear();
  }
  Publish(text);
}

void SearchFlow::SearchNumber(std::int32_t areaCode, const PhoneNumber* number) {
  if (areaCode < 100 || areaCode > 999) {
    AddMessage(kNoCitiesFound, AnswerOutcome::kNoCities);
    return;
  }
  editQuery = AreaCodeText(areaCode);
  listAreaCodes.AddString(editQuery);
  ShowAreaCodes({areaCode});
  if (listLargestCity.GetCount() == 0) AddMessage(kNoCitiesFound, AnswerOutcome::kNoCities);
  if (!number) return;
  NumberResult result = Numbers().Lookup(*number, number->line);
  e164_ = result.E164();
  if (exchanges_.IsEmpty()) return;
  exchange_ = std::move(result);
  // The clocks are those of the places a call may ring at: the exchange's
  // place, the place called, and no other (none when it has no zone), or
  // the places of the code when the exchange is not listed.
  const ZoneSet reached = Numbers().ZonesOf(*exchange_);
  const auto isReached = [&reached](int zone) {
    return std::find(reached.zones.begin(), reached.zones.end(), zone) != reached.zones.end();
  };
  if (exchange_->status == NumberResult::Status::kOk) {
    timePlaces_.clear();
    searchedPlace_ = true;
    if (reached.zones.empty()) return;
    SetCityIdFilter(setCities.strFilter, exchange_->cityId);
    setCities.Open();
    if (!setCities.IsEOF() && isReached(CurrentTimePlace().zone)) {
      timePlaces_ = {CurrentTimePlace()};
    }
    return;
  }
  std::erase_if(timePlaces_, [&](const TimePlace& place) { return !isReached(place.zone); });
}

std::vector<CityChoice> SearchFlow::CollectChoices() {
  std::vector<CityChoice> choices;
  choices.reserve(setCities.SelectedRows().size());
  for (; !setCities.IsEOF(); setCities.MoveNext()) {
    CityChoice choice{setCities.strCity + ", " + StateAbbrevToName(setCities.strStateOrProvince),
                      setCities.strCity, setCities.strStateOrProvince, setCities.iPopulation,
                      {}};
    setAreaCodes.EnsureLoaded();
    for (const std::uint32_t pair :
         setAreaCodes.RowsOfCity(static_cast<std::uint32_t>(setCities.iCityId))) {
      choice.areaCodes.push_back(static_cast<std::int32_t>(setAreaCodes.AreaCodes()[pair]));
    }
    std::sort(choice.areaCodes.begin(), choice.areaCodes.end());
    choice.areaCodes.erase(std::unique(choice.areaCodes.begin(), choice.areaCodes.end()),
                           choice.areaCodes.end());
    choices.push_back(std::move(choice));
  }
  return choices;
}

bool SearchFlow::SearchCityThenState(const std::string& text) {
  if (text.find(' ') == std::string::npos) return false;
  setCities.strFilter = std::string("strCity = ") + kQuote + text + kQuote;
  setCities.Open();
  if (!setCities.IsEOF()) return false;  // a city of that name: "New York"
  // The last two words, then the last one.
  for (int words = 2; words >= 1; --words) {
    std::size_t cut = text.size();
    for (int w = 0; w < words && cut != std::string::npos; ++w) cut = text.rfind(' ', cut - 1);
    if (cut == std::string::npos || cut == 0) continue;
    const std::string city = text.substr(0, cut);
    const std::string state = StateCodeOf(text.substr(cut + 1));
    if (state.empty()) continue;
    setCities.strFilter = std::string("strCity = ") + kQuote + city + kQuote +
                          " and strStateOrProvince = " + kQuote + state + kQuote;
    setCities.Requery();
    if (setCities.IsEOF()) continue;
    LookupPlace(city, state);
    return true;
  }
  return false;
}

bool SearchFlow::SearchCityOnly(const std::string& city) {
  setCities.strFilter = std::string("strCity = ") + kQuote + city + kQuote;
  std::vector<CityChoice> choices;
  {
    BusyScope wait(busy_);
    setCities.Open();
  }
  if (!setCities.IsEOF()) {
    // One record: look it up at once with its own name and code.
    const std::string onlyCity = setCities.strCity;
    const std::string onlyState = setCities.strStateOrProvince;
    choices = CollectChoices();
    if (choices.size() == 1) {
      LookupPlace(onlyCity, onlyState);
      editQuery = choices.front().text;
      return true;
    }
  } else {
    // No exact name: offer every name that begins with the text.
    setCities.strFilter = std::string("strCity LIKE ") + kQuote + city + "%" + kQuote;
    setCities.Requery();
    choices = CollectChoices();
    if (choices.empty()) return true;
  }
  std::vector<CityChoice> shown = ChoicesInShownOrder(choices);
  const CityChoiceReply reply = chooser_.ChooseCity(shown);
  if (reply.kind == CityChoiceReply::Kind::kUnanswered) {
    openChoices_ = std::move(shown);
    outcome_ = AnswerOutcome::kChoices;
    return false;
  }
  if (reply.kind == CityChoiceReply::Kind::kCancelled) {
    outcome_ = AnswerOutcome::kCancelled;
    return false;
  }
  editQuery = reply.text;
  std::string chosenCity, chosenState;
  if (SplitCityState(reply.text, chosenCity, chosenState)) LookupPlace(chosenCity, chosenState);
  return true;
}

void SearchFlow::LookupPlace(const std::string& city, const std::string& state) {
  BusyScope wait(busy_);
  strFoundState.clear();
  std::vector<std::int32_t> areaCodes;
  const bool stateOnly = city.empty();
  if (stateOnly) {
    setCities.strFilter = std::string("strStateOrProvince = ") + kQuote + state + kQuote;
  } else {
    setCities.strFilter = std::string("strCity = ") + kQuote + city + kQuote +
                          " and strStateOrProvince = " + kQuote + state + kQuote;
  }
  setCities.Open();
  std::optional<TimePlace> typed;
  if (stateOnly) {
    // Many places: read from the columns, without making each the current one.
    for (const std::uint32_t row : setCities.SelectedRows()) {
      if (static_cast<std::int32_t>(setCities.Populations()[row]) <=
          static_cast<std::int32_t>(kMajorCityPopulation)) {
        continue;
      }
      AddCodesOfCity(static_cast<std::int32_t>(setCities.CityIds()[row]), areaCodes);
    }
    setCities.MovePastEnd();
  }
  for (; !stateOnly && !setCities.IsEOF(); setCities.MoveNext()) {
    if (!typed) typed = CurrentTimePlace();
    AddCodesOfCity(setCities.iCityId, areaCodes);
  }
  if (stateOnly && areaCodes.empty()) AddCodesOfEveryPlace(state, areaCodes);
  ShowAreaCodes(areaCodes);
  strFoundState = setCities.strStateOrProvince;
  if (typed) {
    // The place typed, and never a neighbour: without a zone it has no clock.
    timePlaces_.clear();
    if (typed->zone >= 0) timePlaces_ = {*typed};
    searchedPlace_ = true;
  }
}

// A state or territory none of whose places has more than 10000 inhabitants
// (Nunavut) would list nothing: it lists the area codes of all its places.
void SearchFlow::AddCodesOfEveryPlace(const std::string& state,
                                      std::vector<std::int32_t>& areaCodes) {
  std::string code = state;
  NormalizeStateText(code);
  setCities.strFilter.clear();
  setCities.Requery();
  for (; !setCities.IsEOF(); setCities.MoveNext()) {
    if (setCities.strStateOrProvince == code) AddCodesOfCity(setCities.iCityId, areaCodes);
  }
}

// Adds each area code of the city that the list does not hold yet.
void SearchFlow::AddCodesOfCity(std::int32_t cityId, std::vector<std::int32_t>& areaCodes) {
  setAreaCodes.EnsureLoaded();
  for (const std::uint32_t pair : setAreaCodes.RowsOfCity(static_cast<std::uint32_t>(cityId))) {
    const auto areaCode = static_cast<std::int32_t>(setAreaCodes.AreaCodes()[pair]);
    // A code added by this search is listed: the list would refuse it again.
    if (std::find(areaCodes.begin(), areaCodes.end(), areaCode) != areaCodes.end()) continue;
    if (listAreaCodes.AddUnlessListed(AreaCodeText(areaCode))) areaCodes.push_back(areaCode);
  }
}

void SearchFlow::ShowAreaCodes(const std::vector<std::int32_t>& areaCodes) {
  BusyScope wait(busy_);
  strFoundState.clear();
  listLargestCity.ResetContent();
  listMajorCities.ResetContent();
  listedPlaces_.clear();
  timePlaces_.clear();
  searchedPlace_ = false;
  zonePlace_.reset();
  largestPlace_.reset();
  const bool plural = areaCodes.size() >= 2;
  lblAreaCodes = plural ? "Area codes:" : "Area code:";
  lblLargestCity = plural ? "Largest city in area codes:" : "Largest city in area code:";
  const std::optional<std::int32_t> bestCityId = ListPlacesOfCodes(areaCodes);

  std::stable_sort(timePlaces_.begin(), timePlaces_.end(),
                   [](const TimePlace& a, const TimePlace& b) { return a.population > b.population; });

  const char* shared = areaCodes.empty() ? nullptr : SharedRegionLine(areaCodes.front());
  listStateOrProvince.AddString(shared ? shared : StateDisplayForm(strFoundState));
  lblMajorCities = std::string("Major cities (") + std::to_string(listMajorCities.GetCount()) +
                   (plural ? ") in area codes:" : ") in area code:");

  if (bestCityId) {
    SetCityIdFilter(setCities.strFilter, *bestCityId);
    if (setCities.Requery()) {
      listLargestCity.AddString(setCities.strCity);
      zonePlace_ = CurrentTimePlace();
      largestPlace_ = CurrentPlaceFacts();
    }
  }
}

// The codes of an overlay complex share their places. A place read once
// changes nothing when read again for another code with the same entry form
// (the list would refuse the entry, the largest city and the clocks stay), so
// it is read once. The state found is that of the last place of the last code.
std::optional<std::int32_t> SearchFlow::ListPlacesOfCodes(
    const std::vector<std::int32_t>& areaCodes) {
  if (areaCodes.empty()) return std::nullopt;
  setAreaCodes.EnsureLoaded();
  setCities.EnsureLoaded();
  const std::vector<std::uint32_t>& pairCities = setAreaCodes.CityIds();
  const std::vector<std::uint32_t>& cityIds = setCities.CityIds();
  const std::vector<std::uint32_t>& populations = setCities.Populations();
  const std::size_t keys = 2 * setCities.RowCount();
  if (readInRound_.size() != keys || ++round_ == 0) {
    readInRound_.assign(keys, 0);
    round_ = 1;
  }
  readPlaces_.clear();
  // The largest place of each time zone: zone, population, row.
  struct Clock {
    int zone;
    std::int64_t population;
    std::uint32_t row;
  };
  std::vector<Clock> clocks;
  std::optional<std::int32_t> bestCityId;
  std::optional<std::uint32_t> lastRow;
  std::int64_t bestPopulation = -1;
  for (const std::int32_t areaCode : areaCodes) {
    const bool withState = SharedRegionLine(areaCode) != nullptr;
    for (const std::uint32_t pair : setAreaCodes.RowsOfAreaCode(static_cast<std::uint32_t>(areaCode))) {
      const std::span<const std::uint32_t> rows = setCities.RowsOfCity(pairCities[pair]);
      if (rows.empty()) continue;
      const std::uint32_t row = rows.front();
      lastRow = row;
      std::uint32_t& read = readInRound_[std::size_t{row} * 2 + withState];
      if (read == round_) continue;
      read = round_;
      readPlaces_.push_back({row, withState});
      const auto cityId = static_cast<std::int32_t>(cityIds[row]);
      const std::int64_t population = static_cast<std::int32_t>(populations[row]);
      if (const int zone = law_ ? law_->ZoneOfPlace(cityId) : -1; zone >= 0) {
        const auto known = std::find_if(clocks.begin(), clocks.end(),
                                        [zone](const Clock& clock) { return clock.zone == zone; });
        if (known == clocks.end()) {
          clocks.push_back({zone, population, row});
        } else if (population > known->population) {
          *known = {zone, population, row};
        }
      }
      if (population > bestPopulation) {
        bestPopulation = population;
        bestCityId = cityId;
      }
    }
  }
  ListReadPlaces(readPlaces_);
  for (const Clock& clock : clocks) timePlaces_.push_back(TimePlaceOfRow(clock.row));
  if (lastRow) {
    SetCityIdFilter(setCities.strFilter, static_cast<std::int32_t>(cityIds[*lastRow]));
    setCities.Open();
    strFoundState = setCities.strStateOrProvince;
  }
  return bestCityId;
}

namespace {

// Where one entry stands in the order of a sorted list: its own position,
// the first position of the entries equal to it, and the position after the
// last entry that begins with it.
using NamePlace = CCitySet::NamePlace;

// True when a bit in [first, after) is set.
bool AnySet(const std::vector<std::uint64_t>& bits, std::uint32_t first, std::uint32_t after) {
  for (std::uint32_t i = first; i < after;) {
    if (i % 64 == 0 && after - i >= 64) {
      if (bits[i / 64] != 0) return true;
      i += 64;
    } else {
      if (bits[i / 64] >> (i % 64) & 1) return true;
      ++i;
    }
  }
  return false;
}

void SetBit(std::vector<std::uint64_t>& bits, std::uint32_t i) {
  bits[i / 64] |= std::uint64_t{1} << (i % 64);
}

}  // namespace

// The list takes an entry unless an entry beginning with it is listed
// already; since a refused entry begins with a listed one, that is: unless an
// entry read before begins with it. The entries beginning with an entry
// follow it in the list's order, so the places of the entries in that order
// decide, with no text compared. Plain names have their places in the city
// set; entries with a state are put in order here.
void SearchFlow::ListReadPlaces(const std::vector<ReadPlace>& places) {
  const bool plain = std::none_of(places.begin(), places.end(),
                                  [](const ReadPlace& place) { return place.withState; });
  std::vector<NamePlace> order(places.size());
  std::vector<std::uint32_t> byPosition;  // entries with a state: position -> index in places
  std::vector<std::string> texts;
  std::size_t positions = setCities.RowCount();
  if (plain) {
    for (std::size_t i = 0; i < places.size(); ++i) order[i] = setCities.NamePlaceOf(places[i].row);
  } else {
    texts.reserve(places.size());
    for (const ReadPlace& place : places) {
      std::string text = setCities.CityNames()[place.row];
      if (place.withState) text += ", " + setCities.States()[place.row];
      texts.push_back(std::move(text));
    }
    byPosition.resize(places.size());
    std::iota(byPosition.begin(), byPosition.end(), 0u);
    std::stable_sort(byPosition.begin(), byPosition.end(), [&](std::uint32_t a, std::uint32_t b) {
      return CompareNoCase(texts[a], texts[b]) < 0;
    });
    std::vector<std::uint32_t> open;
    for (std::uint32_t pos = 0; pos < byPosition.size(); ++pos) {
      const std::string& text = texts[byPosition[pos]];
      while (!open.empty() && !StartsWithNoCase(text, texts[byPosition[open.back()]])) {
        order[byPosition[open.back()]].after = pos;
        open.pop_back();
      }
      const bool same = pos > 0 && CompareNoCase(text, texts[byPosition[pos - 1]]) == 0;
      order[byPosition[pos]].position = pos;
      order[byPosition[pos]].first = same ? order[byPosition[pos - 1]].first : pos;
      open.push_back(pos);
    }
    for (const std::uint32_t pos : open) {
      order[byPosition[pos]].after = static_cast<std::uint32_t>(byPosition.size());
    }
    positions = places.size();
  }
  std::vector<std::uint64_t> read((positions + 63) / 64), listed((positions + 63) / 64);
  std::vector<std::uint32_t> placeAt(plain ? 0 : positions);
  for (std::size_t i = 0; i < places.size(); ++i) {
    const NamePlace& at = order[i];
    if (!AnySet(read, at.first, at.after)) SetBit(listed, at.position);
    SetBit(read, at.position);
  }
  std::vector<std::string> entries;
  entries.reserve(places.size());
  listedPlaces_.clear();
  listedPlaces_.reserve(places.size());
  for (std::uint32_t word = 0; word < listed.size(); ++word) {
    for (std::uint64_t bits = listed[word]; bits != 0; bits &= bits - 1) {
      const std::uint32_t pos = word * 64 + static_cast<std::uint32_t>(std::countr_zero(bits));
      if (plain) {
        const std::uint32_t row = setCities.RowAtNamePosition(pos);
        entries.push_back(setCities.CityNames()[row]);
        listedPlaces_.push_back(PlaceFactsOfRow(row));
      } else {
        entries.push_back(std::move(texts[byPosition[pos]]));
        listedPlaces_.push_back(PlaceFactsOfRow(places[byPosition[pos]].row));
      }
    }
  }
  listMajorCities.AssignSorted(std::move(entries));
}

TimePlace SearchFlow::CurrentTimePlace() const {
  return TimePlace{setCities.strCity + ", " + setCities.strStateOrProvince,
                   setCities.fTimeZone,
                   setCities.bDaylightSaving,
                   setCities.iPopulation,
                   setCities.iCityId,
                   law_ ? law_->ZoneOfPlace(setCities.iCityId) : -1};
}

PlaceFacts SearchFlow::CurrentPlaceFacts() const {
  return PlaceFacts{setCities.strCity, setCities.strStateOrProvince, setCities.iPopulation,
                    setCities.iCityId};
}

TimePlace SearchFlow::TimePlaceOfRow(std::uint32_t row) const {
  const auto cityId = static_cast<std::int32_t>(setCities.CityIds()[row]);
  return TimePlace{setCities.CityNames()[row] + ", " + setCities.States()[row],
                   setCities.TimeZones()[row],
                   setCities.DaylightFlags()[row],
                   static_cast<std::int32_t>(setCities.Populations()[row]),
                   cityId,
                   law_ ? law_->ZoneOfPlace(cityId) : -1};
}

PlaceFacts SearchFlow::PlaceFactsOfRow(std::uint32_t row) const {
  return PlaceFacts{setCities.CityNames()[row], setCities.States()[row],
                    static_cast<std::int32_t>(setCities.Populations()[row]),
                    static_cast<std::int32_t>(setCities.CityIds()[row])};
}

void SearchFlow::Publish(std::string queryGiven) {
  auto answer = std::make_shared<Answer>();
  answer->queryGiven = std::move(queryGiven);
  answer->query = editQuery;
  answer->outcome = outcome_;
  answer->areaCodes = {lblAreaCodes, listAreaCodes.Entries()};
  answer->largestCity = {lblLargestCity, listLargestCity.Entries()};
  answer->majorCities = {lblMajorCities, listMajorCities.Entries()};
  answer->stateOrProvince = listStateOrProvince.Entries();
  answer->foundState = strFoundState;
  answer->places = std::move(listedPlaces_);
  listedPlaces_.clear();
  answer->largestPlace = largestPlace_;
  answer->times.zonePlace = zonePlace_;
  answer->times.clockPlaces = timePlaces_;
  answer->times.searchedPlace = searchedPlace_;
  if (answer->areaCodes.entries.size() == 1) answer->times.areaCode = answer->areaCodes.entries[0];
  answer->times.callingHours = callingHours_;
  answer->times.law = law_;
  answer->times.zoneLine = ZoneLineAt(answer->times, nowUtc_());
  answer->e164 = e164_;
  answer->exchange = exchange_;
  answer->exchangeRow = ExchangeRowInMajorCities();
  answer->problems = dataProblems_;
  answer->choices = std::move(openChoices_);
  openChoices_.clear();
  answer_ = std::move(answer);
}

int SearchFlow::ExchangeRowInMajorCities() const {
  if (!exchange_ || exchange_->status != NumberResult::Status::kOk) return -1;
  const std::string& city = exchange_->place;
  const std::string withCode = city + ", " + exchange_->state;  // 867, 902 and 782
  for (int row = 0; row < listMajorCities.GetCount(); ++row) {
    const std::string& entry = listMajorCities.GetText(row);
    if (entry == city || entry == withCode) return row;
  }
  return -1;
}

bool SearchFlow::OnDblclkAreaCodes(int selected) {
  if (selected < 0 || selected >= listAreaCodes.GetCount()) return false;
  const std::string entry = listAreaCodes.GetText(selected);
  if (entry == editQuery) return false;
  editQuery = entry;
  OnOK();
  return true;
}

bool SearchFlow::OnDblclkLargestCity(int selected) {
  return SearchPlaceOf(listLargestCity, selected);
}

bool SearchFlow::OnDblclkMajorCities(int selected) {
  return SearchPlaceOf(listMajorCities, selected);
}

// "Dayton" with the state line "Ohio (OH)" searches "Dayton, Ohio "; an entry
// that carries its own code ("Iqaluit, NU") is searched as it stands.
bool SearchFlow::SearchPlaceOf(const ListBox& list, int selected) {
  if (selected < 0 || selected >= list.GetCount()) return false;
  const std::string entry = list.GetText(selected);
  std::string place = entry;
  if (entry.find(',') == std::string::npos) {
    std::string stateName = listStateOrProvince.GetText(0);
    const std::size_t paren = stateName.find('(');
    if (paren != std::string::npos && paren >= 1) stateName.resize(paren);
    place = entry + ", " + stateName;
  }
  if (place == editQuery) return false;
  editQuery = place;
  OnOK();
  return true;
}

}  // namespace tq
