#include "lookup/SearchFlow.h"

#include <string_view>

#include "data/Text.h"
#include "names/StateNames.h"

namespace tq {
namespace {

constexpr char kQuote[] = "'";

std::string AreaCodeText(std::int32_t areaCode) { return std::to_string(areaCode); }

// Provinces and territories that share their area codes show one line for
// all of them.
const char* SharedRegionLine(std::int32_t areaCode) {
  if (areaCode == 867) return "Yukon (YT), Northwest Territories (NT) and Nunavut (NU)";
  if (areaCode == 902 || areaCode == 782) return "Nova Scotia (NS) and Prince Edward Island (PE)";
  return nullptr;
}

}  // namespace

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
      busy_(busy) {}

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
}

void SearchFlow::OnOK() {
  lblAreaCodes = "Area code:";
  lblLargestCity = "Largest city in area code:";
  listAreaCodes.ResetContent();
  listStateOrProvince.ResetContent();
  listLargestCity.ResetContent();
  listMajorCities.ResetContent();
  listTimeZone.ResetContent();

  const std::string text = editQuery;
  const std::int32_t number = AtoI(text);
  if (number != 0) {
    if (number < 100 || number > 999) {
      listLargestCity.AddString(kNoCitiesFound);
      return;
    }
    std::string digits;
    for (char c : text) {
      if (c != ' ') digits += c;
    }
    editQuery = digits.substr(0, 3);
    listAreaCodes.AddString(editQuery);
    ShowAreaCodes({number});
    if (listLargestCity.GetCount() == 0) listLargestCity.AddString(kNoCitiesFound);
    return;
  }
  if (text.find('0') != std::string::npos) {  // "000", or a place with a postal code
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
  for (; !setCities.IsEOF(); setCities.MoveNext()) {
    if (stateOnly && setCities.iPopulation <= static_cast<std::int32_t>(kMajorCityPopulation)) {
      continue;
    }
    setAreaCodes.strFilter = "iCityId = " + std::to_string(setCities.iCityId);
    setAreaCodes.Open();
    for (; !setAreaCodes.IsEOF(); setAreaCodes.MoveNext()) {
      if (listAreaCodes.AddUnlessListed(AreaCodeText(setAreaCodes.iAreaCode))) {
        areaCodes.push_back(setAreaCodes.iAreaCode);
      }
    }
  }
  ShowAreaCodes(areaCodes);
  strFoundState = setCities.strStateOrProvince;
}

void SearchFlow::ShowAreaCodes(const std::vector<std::int32_t>& areaCodes) {
  BusyScope wait(busy_);
  strFoundState.clear();
  std::int64_t bestPopulation = -1;
  std::int64_t bestCityId = -1;
  listLargestCity.ResetContent();
  listMajorCities.ResetContent();
  const bool plural = areaCodes.size() >= 2;
  lblAreaCodes = plural ? "Area codes:" : "Area code:";
  lblLargestCity = plural ? "Largest city in area codes:" : "Largest city in area code:";

  bool first = true;
  for (const std::int32_t areaCode : areaCodes) {
    setAreaCodes.strFilter = "iAreaCode = " + AreaCodeText(areaCode);
    if (first) {
      setAreaCodes.Open();
      first = false;
    } else {
      setAreaCodes.Requery();
    }
    for (; !setAreaCodes.IsEOF(); setAreaCodes.MoveNext()) {
      setCities.strFilter = "iCityId = " + std::to_string(setAreaCodes.iCityId);
      setCities.Open();
      if (setCities.IsEOF()) continue;
      std::string entry = setCities.strCity;
      if (SharedRegionLine(areaCode)) entry += ", " + setCities.strStateOrProvince;
      listMajorCities.AddUnlessListed(std::move(entry));
      if (setCities.iPopulation > bestPopulation) {
        bestPopulation = setCities.iPopulation;
        bestCityId = setCities.iCityId;
      }
      strFoundState = setCities.strStateOrProvince;
    }
  }

  const char* shared = areaCodes.empty() ? nullptr : SharedRegionLine(areaCodes.front());
  listStateOrProvince.AddString(shared ? shared : StateDisplayForm(strFoundState));
  lblMajorCities = std::string("Major cities (") + std::to_string(listMajorCities.GetCount()) +
                   (plural ? ") in area codes:" : ") in area code:");

  if (bestCityId >= 0) {
    setCities.strFilter = "iCityId = " + std::to_string(bestCityId);
    if (setCities.Requery()) {
      listLargestCity.AddString(setCities.strCity);
      listTimeZone.AddString(
          TimeZoneText(setCities.fTimeZone, setCities.bDaylightSaving, today()));
    }
  }
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
