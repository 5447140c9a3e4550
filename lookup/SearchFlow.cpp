#include "lookup/SearchFlow.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <iterator>
#include <memory_resource>
#include <optional>
#include <string_view>
#include <unordered_set>

#include "data/Text.h"
#include "lookup/PhoneNumber.h"
#include "names/StateNames.h"

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
  std::vector<CityChoice> shown = choices;
  std::stable_sort(shown.begin(), shown.end(), [](const CityChoice& a, const CityChoice& b) {
    return ShownBefore(a.text, b.text);
  });
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
  for (const LoadOutcome* outcome : {&setCities.Outcome(), &setAreaCodes.Outcome()}) {
    if (!outcome->text.empty()) dataProblems_.push_back(outcome->text);
  }
  if (dataFolder_) {
    const LoadOutcome& exchanges = exchanges_.Read(*dataFolder_);
    if (!exchanges.text.empty()) {
      // What could be read of a damaged table still answers.
      dataProblems_.push_back(exchanges_.IsEmpty()
                                  ? exchanges.text + " Numbers are answered without their exchange."
                                  : exchanges.text);
    }
    auto law = std::make_shared<ZoneLaw>();
    const std::string lawProblem = law->Open(*dataFolder_);
    zoneLawOutcome_ = {lawProblem.empty() ? FileProblem::kNone : FileProblem::kDamaged, {}};
    if (lawProblem.empty()) {
      law_ = std::move(law);
    } else {
      law_.reset();
      zoneLawOutcome_.text = lawProblem + " Local times are not shown.";
      dataProblems_.push_back(zoneLawOutcome_.text);
    }
  }
  auto answer = std::make_shared<Answer>(*answer_);
  answer->problems = dataProblems_;
  answer_ = std::move(answer);
}

const NumberLookup& SearchFlow::Numbers() {
  if (!numbers_) numbers_ = std::make_unique<NumberLookup>(setCities, setAreaCodes, exchanges_);
  return *numbers_;
}

const Answer& SearchFlow::Search(std::string text) {
  editQuery = std::move(text);
  OnOK();
  return *answer_;
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
  // The exchange's place is the place called: its clock, and no other (none
  // when the place has no zone, or no record to find it by).
  if (exchange_->status == NumberResult::Status::kOk) {
    timePlaces_.clear();
    searchedPlace_ = true;
    if (exchange_->cityId < 0) return;
    SetCityIdFilter(setCities.strFilter, exchange_->cityId);
    setCities.Open();
    if (!setCities.IsEOF() && CurrentTimePlace().zone >= 0) timePlaces_ = {CurrentTimePlace()};
  }
}

std::vector<CityChoice> SearchFlow::CollectChoices() {
  std::vector<CityChoice> choices;
  for (; !setCities.IsEOF(); setCities.MoveNext()) {
    CityChoice choice{setCities.strCity + ", " + StateAbbrevToName(setCities.strStateOrProvince),
                      setCities.strCity, setCities.strStateOrProvince, setCities.iPopulation,
                      {}};
    SetCityIdFilter(setAreaCodes.strFilter, setCities.iCityId);
    setAreaCodes.Open();
    for (; !setAreaCodes.IsEOF(); setAreaCodes.MoveNext()) {
      choice.areaCodes.push_back(setAreaCodes.iAreaCode);
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
  for (; !setCities.IsEOF(); setCities.MoveNext()) {
    if (stateOnly && setCities.iPopulation <= static_cast<std::int32_t>(kMajorCityPopulation)) {
      continue;
    }
    if (!stateOnly && !typed) {
      typed = CurrentTimePlace();
    }
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
  SetCityIdFilter(setAreaCodes.strFilter, cityId);
  setAreaCodes.Open();
  for (; !setAreaCodes.IsEOF(); setAreaCodes.MoveNext()) {
    const std::int32_t areaCode = setAreaCodes.iAreaCode;
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
// (the list refuses the entry, the largest city and the clocks stay), so it
// is read once. The state found is that of the last place of the last code.
std::optional<std::int32_t> SearchFlow::ListPlacesOfCodes(
    const std::vector<std::int32_t>& areaCodes) {
  std::array<std::byte, 32 * 1024> arena;  // enough for a few thousand places
  std::pmr::monotonic_buffer_resource handledMemory(arena.data(), arena.size());
  std::pmr::unordered_set<std::int64_t> handled(&handledMemory);
  std::optional<std::int32_t> bestCityId, lastCityId;
  std::int64_t bestPopulation = -1;
  bool first = true;
  for (const std::int32_t areaCode : areaCodes) {
    setAreaCodes.strFilter = "iAreaCode = " + AreaCodeText(areaCode);
    if (first) {
      setAreaCodes.Open();
      first = false;
    } else {
      setAreaCodes.Requery();
    }
    const bool withState = SharedRegionLine(areaCode) != nullptr;
    for (; !setAreaCodes.IsEOF(); setAreaCodes.MoveNext()) {
      const std::int32_t cityId = setAreaCodes.iCityId;
      const std::int64_t key = std::int64_t{cityId} * 2 + withState;
      if (handled.contains(key)) {
        lastCityId = cityId;
        continue;
      }
      SetCityIdFilter(setCities.strFilter, cityId);
      setCities.Open();
      if (setCities.IsEOF()) continue;
      handled.insert(key);
      lastCityId = cityId;
      std::string entry = setCities.strCity;
      if (withState) entry += ", " + setCities.strStateOrProvince;
      if (listMajorCities.AddUnlessListed(entry)) {
        listedPlaces_.emplace(std::move(entry), CurrentPlaceFacts());
      }
      NoteTimePlace();
      if (setCities.iPopulation > bestPopulation) {
        bestPopulation = setCities.iPopulation;
        bestCityId = setCities.iCityId;
      }
    }
  }
  if (lastCityId) {
    if (setCities.IsEOF() || setCities.iCityId != *lastCityId) {
      SetCityIdFilter(setCities.strFilter, *lastCityId);
      setCities.Open();
    }
    strFoundState = setCities.strStateOrProvince;
  }
  return bestCityId;
}

// Keeps the current city when it is the largest of its time zone so far.
void SearchFlow::NoteTimePlace() {
  const TimePlace place = CurrentTimePlace();
  if (place.zone < 0) return;
  for (TimePlace& known : timePlaces_) {
    if (known.zone == place.zone) {
      if (place.population > known.population) known = place;
      return;
    }
  }
  timePlaces_.push_back(place);
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
  answer->places.reserve(listedPlaces_.size());
  for (const std::string& entry : answer->majorCities.entries) {
    const auto facts = listedPlaces_.find(entry);
    if (facts != listedPlaces_.end()) answer->places.push_back(facts->second);
  }
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
