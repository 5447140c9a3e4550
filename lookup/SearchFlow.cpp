#include "lookup/SearchFlow.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdio>
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
constexpr char kStatusSeparator[] = " \xB7 ";

std::string AreaCodeText(std::int32_t areaCode) { return std::to_string(areaCode); }

// Provinces and territories that share their area codes show one line for
// all of them.
const char* SharedRegionLine(std::int32_t areaCode) {
  if (areaCode == 867) return "Yukon (YT), Northwest Territories (NT) and Nunavut (NU)";
  if (areaCode == 902 || areaCode == 782) return "Nova Scotia (NS) and Prince Edward Island (PE)";
  return nullptr;
}

// Writes "iCityId = N" into the filter without temporary strings: a
// state-wide search sets it for every place it reads.
void SetCityIdFilter(std::string& filter, std::int32_t cityId) {
  char digits[24];
  const char* end = std::to_chars(std::begin(digits), std::end(digits), cityId).ptr;
  filter.assign("iCityId = ").append(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace

std::vector<std::string> ChoicesInShownOrder(const std::vector<std::string>& choices) {
  ListBox sorted(ListBox::Order::kSorted);
  for (const std::string& choice : choices) sorted.AddString(choice);
  return sorted.Entries();
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
      dataFolder_(std::move(dataFolder)) {}

SearchFlow::SearchFlow(CAreaCodeSet& areaCodes, CCitySet& cities, CityChooser& chooser,
                       BusyIndicator* busy)
    : setAreaCodes(areaCodes), setCities(cities), chooser_(chooser), busy_(busy) {}

void SearchFlow::OpenData() {
  BusyScope wait(busy_);
  setCities.Open();
  setAreaCodes.Open();
  dataProblems.clear();
  for (const LoadOutcome* outcome : {&setCities.Outcome(), &setAreaCodes.Outcome()}) {
    if (!outcome->text.empty()) dataProblems.push_back(outcome->text);
  }
  if (!dataFolder_) return;
  const std::string problem = exchanges.Open(*dataFolder_);
  if (!problem.empty()) {
    dataProblems.push_back(problem + " Numbers are answered without their exchange.");
  }
}

void SearchFlow::OnOK() {
  lblAreaCodes = "Area code:";
  lblLargestCity = "Largest city in area code:";
  listAreaCodes.ResetContent();
  listStateOrProvince.ResetContent();
  listLargestCity.ResetContent();
  listMajorCities.ResetContent();
  listTimeZone.ResetContent();

  timePlaces.clear();
  exchangeNumber.clear();
  exchangePlace.reset();

  const std::string text = editQuery;
  if (const std::optional<PhoneNumber> phone = ParsePhoneNumber(text)) {
    if (phone->kind == PhoneNumber::Kind::kOtherCountry) {
      listLargestCity.AddString(kNoCitiesFound);
    } else {
      SearchNumber(phone->areaCode, phone->exchange);
    }
    return;
  }
  // Not written as a number: "-212", "212,", or a place ("100 Mile House, BC").
  const std::int32_t number = AtoI(text);
  bool letters = false;
  for (char c : text) letters = letters || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (number != 0 && !letters) {
    SearchNumber(number, -1);
    return;
  }
  if (number == 0 && text.find('0') != std::string::npos) {  // "000", or a place with a postal code
    listLargestCity.AddString(kNoCitiesFound);
    return;
  }

  std::string city, state;
  const bool split = SplitCityState(text, city, state);
  bool chose = true;
  if (split || (city.empty() && !state.empty())) {
    LookupPlace(city, state);
  } else if (!city.empty()) {
    chose = SearchCityOnly(city);
  }
  if (listLargestCity.GetCount() == 0 && chose) {
    listLargestCity.AddString(kCityNotFound);
    strFoundState.clear();
  }
}

void SearchFlow::SearchNumber(std::int32_t areaCode, std::int32_t exchange) {
  if (areaCode < 100 || areaCode > 999) {
    listLargestCity.AddString(kNoCitiesFound);
    return;
  }
  editQuery = AreaCodeText(areaCode);
  listAreaCodes.AddString(editQuery);
  ShowAreaCodes({areaCode});
  if (listLargestCity.GetCount() == 0) listLargestCity.AddString(kNoCitiesFound);
  if (exchange < 0 || exchanges.IsEmpty()) return;
  char number[32];
  std::snprintf(number, sizeof number, "%03d-%03d", areaCode, exchange);
  exchangeNumber = number;
  exchangePlace = exchanges.Find(areaCode, exchange);
}

std::vector<std::string> SearchFlow::CollectChoices() {
  std::vector<std::string> choices;
  for (; !setCities.IsEOF(); setCities.MoveNext()) {
    choices.push_back(setCities.strCity + ", " + StateAbbrevToName(setCities.strStateOrProvince));
  }
  return choices;
}

bool SearchFlow::SearchCityOnly(const std::string& city) {
  setCities.strFilter = std::string("strCity = ") + kQuote + city + kQuote;
  std::vector<std::string> choices;
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
      editQuery = choices.front();
      return true;
    }
  } else {
    // No exact name: offer every name that begins with the text.
    setCities.strFilter = std::string("strCity LIKE ") + kQuote + city + "%" + kQuote;
    setCities.Requery();
    choices = CollectChoices();
    if (choices.empty()) return true;
  }
  const std::optional<std::string> chosen = chooser_.ChooseCity(choices);
  if (!chosen) return false;
  editQuery = *chosen;
  std::string chosenCity, chosenState;
  if (SplitCityState(*chosen, chosenCity, chosenState)) LookupPlace(chosenCity, chosenState);
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
  if (typed && HasLocalClock(typed->fTimeZone)) timePlaces = {*typed};
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
  timePlaces.clear();
  const bool plural = areaCodes.size() >= 2;
  lblAreaCodes = plural ? "Area codes:" : "Area code:";
  lblLargestCity = plural ? "Largest city in area codes:" : "Largest city in area code:";
  const std::optional<std::int32_t> bestCityId = ListPlacesOfCodes(areaCodes);

  std::stable_sort(timePlaces.begin(), timePlaces.end(),
                   [](const TimePlace& a, const TimePlace& b) { return a.population > b.population; });

  const char* shared = areaCodes.empty() ? nullptr : SharedRegionLine(areaCodes.front());
  listStateOrProvince.AddString(shared ? shared : StateDisplayForm(strFoundState));
  lblMajorCities = std::string("Major cities (") + std::to_string(listMajorCities.GetCount()) +
                   (plural ? ") in area codes:" : ") in area code:");

  if (bestCityId) {
    SetCityIdFilter(setCities.strFilter, *bestCityId);
    if (setCities.Requery()) {
      listLargestCity.AddString(setCities.strCity);
      listTimeZone.AddString(
          TimeZoneText(setCities.fTimeZone, setCities.bDaylightSaving, today()));
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
      listMajorCities.AddUnlessListed(std::move(entry));
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
  if (!HasLocalClock(setCities.fTimeZone)) return;
  for (TimePlace& known : timePlaces) {
    if (known.fTimeZone == setCities.fTimeZone &&
        known.bDaylightSaving == setCities.bDaylightSaving) {
      if (setCities.iPopulation > known.population) known = CurrentTimePlace();
      return;
    }
  }
  timePlaces.push_back(CurrentTimePlace());
}

TimePlace SearchFlow::CurrentTimePlace() const {
  return TimePlace{setCities.strCity + ", " + setCities.strStateOrProvince, setCities.fTimeZone,
                   setCities.bDaylightSaving, setCities.iPopulation};
}

std::string SearchFlow::StatusText() const {
  std::vector<std::string> parts = dataProblems;
  const std::int64_t now = nowUtc();
  for (const TimePlace& place : timePlaces) {
    if (const auto clock = LocalClockAt(now, place.fTimeZone, place.bDaylightSaving)) {
      parts.push_back(place.name + kStatusSeparator + Clock12(*clock) + " " +
                      WeekdayName(*clock));
    }
  }
  if (!exchangeNumber.empty()) {
    parts.push_back("exchange " + exchangeNumber + ": " +
                    (exchangePlace ? exchangePlace->city + ", " + exchangePlace->state
                                   : std::string("place not known")));
  }
  std::string text;
  for (const std::string& part : parts) {
    if (!text.empty()) text += kStatusSeparator;
    text += part;
  }
  return text;
}

int SearchFlow::ExchangeRowInMajorCities() const {
  if (!exchangePlace) return -1;
  const std::string& city = exchangePlace->city;
  const std::string withCode = city + ", " + exchangePlace->state;  // 867, 902 and 782
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
