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
#include <unordered_map>

#include "base/KeyedSort.h"
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

// Two stable counting passes, over the lower and the upper half of the bits
// a position can have: each pass as long as the items, however many names.
void SearchFlow::SortByPosition(std::vector<PositionPlace>& items,
                                std::vector<PositionPlace>& spare, std::size_t positions) {
  const int bits = std::bit_width(positions > 1 ? positions - 1 : std::size_t{1});
  const int low = bits / 2;
  spare.resize(items.size());
  std::vector<std::uint32_t>& starts = positionStarts_;
  const auto pass = [&](const std::vector<PositionPlace>& from, std::vector<PositionPlace>& to,
                        int shift, int width) {
    const std::uint32_t mask = (std::uint32_t{1} << width) - 1;
    starts.assign((std::size_t{1} << width) + 1, 0);
    for (const PositionPlace& item : from) ++starts[((item.position >> shift) & mask) + 1];
    std::inclusive_scan(starts.begin(), starts.end(), starts.begin());
    for (const PositionPlace& item : from) to[starts[(item.position >> shift) & mask]++] = item;
  };
  pass(items, spare, 0, low);
  pass(spare, items, low, bits - low);
}

namespace {

// The order of the choices offered: the most populous first, then by text.
bool ShownBefore(std::int64_t populationA, std::string_view textA, std::int64_t populationB,
                 std::string_view textB) {
  if (populationA != populationB) return populationA > populationB;
  return CompareNoCase(textA, textB) < 0;
}
bool ShownBefore(const CityChoice& a, const CityChoice& b) {
  return ShownBefore(a.population, a.text, b.population, b.text);
}

}  // namespace

std::vector<CityChoice> ChoicesInShownOrder(const std::vector<CityChoice>& choices) {
  // The order is found on indexes, so each choice is copied once.
  std::vector<std::size_t> order(choices.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return ShownBefore(choices[a], choices[b]); });
  std::vector<CityChoice> shown;
  shown.reserve(choices.size());
  for (const std::size_t i : order) shown.push_back(choices[i]);
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
    // ", New York" names a state; letters in twos are a code (", O H" is
    // OH); other texts stay as typed, as the name of a member ("Cayman
    // Islands") or the beginning of codes.
    std::string rest = text.substr(1);
    if (rest.starts_with(' ')) rest.erase(0, 1);
    std::string code = StateNameToAbbrev(rest);
    if (std::string letters = code; code == rest && (std::erase(letters, ' '), letters.size() <= 2)) {
      code = letters;
    }
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
      answer_(std::make_shared<Answer>()) {}

SearchFlow::SearchFlow(CAreaCodeSet& areaCodes, CCitySet& cities, CityChooser& chooser,
                       BusyIndicator* busy)
    : setAreaCodes(areaCodes),
      setCities(cities),
      chooser_(chooser),
      busy_(busy),
      answer_(std::make_shared<Answer>()) {}

SearchFlow::~SearchFlow() = default;

void SearchFlow::OpenData() {
  BusyScope wait(busy_);
  numbers_.reset();
  // The places' file is summed where a manifest or the zone law compares it.
  setCities.TakeFileSum(dataFolder_ && ZoneLaw::NamesItsPlaces(*dataFolder_));
  setCities.Open();
  setAreaCodes.Open();
  dataProblems_.clear();
  const auto tell = [this](LoadOutcome outcome) {
    // A note (the places' own zones standing in for a missing zone law) is kept too.
    if (outcome.problem != FileProblem::kNone || !outcome.text.empty()) {
      dataProblems_.push_back(std::move(outcome));
    }
  };
  tell(setCities.Outcome());
  tell(setAreaCodes.Outcome());
  if (dataFolder_) {
    tell(exchanges_.Open(*dataFolder_));
    auto law = std::make_shared<ZoneLaw>();
    LoadOutcome lawOutcome = law->OpenFor(*dataFolder_, setCities);
    law_.reset();
    // A law told as damage may still be read whole (one its manifest does not
    // list); only an empty one tells no times.
    if (!law->IsEmpty()) law_ = std::move(law);
    zoneLawOutcome_ = lawOutcome;
    tell(std::move(lawOutcome));
    // The optional files: what they add is left out where they are damaged.
    // Kinds are of the places read, so they wait for them.
    if (setCities.RowCount() > 0) (void)kinds_.Read(*dataFolder_, setCities);
    (void)plannedCodes_.Read(*dataFolder_);
    tell(kinds_.Outcome());
    tell(plannedCodes_.Outcome());
    // Codes name places, so they wait for them too. A folder without the
    // file is told only where a code is searched.
    postal_ = {};
    if (setCities.RowCount() > 0) (void)postal_.Read(*dataFolder_, setCities);
    if (postal_.Outcome().problem != FileProblem::kMissing) tell(postal_.Outcome());
  }
  BuildCodePlaces();
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

void SearchFlow::AddMessage(const std::string& message, AnswerOutcome outcome) {
  listLargestCity.AddString(message);
  outcome_ = outcome;
}

void SearchFlow::BeginSearch() {
  lblAreaCodes = "Area code:";
  lblLargestCity = "Largest city in area code:";
  listAreaCodes.ResetContent();
  listStateOrProvince.ResetContent();
  listLargestCity.ResetContent();
  entries_.clear();
  entryPlaces_.clear();
  searchedPlace_ = false;
  timePlaces_.clear();
  zonePlace_.reset();
  largestPlace_.reset();
  namesakes_.reset();
  planned_.reset();
  postalAnswer_.reset();
  postalUntold_ = false;
  exchange_.reset();
  e164_.clear();
  openChoices_.clear();
  outcome_ = AnswerOutcome::kFound;
}

void SearchFlow::OnOK() {
  BeginSearch();
  const std::string text = editQuery;
  const RecognizedQuery what = RecognizeQuery(text);
  const bool code = what.kind == QueryKind::kZip || what.kind == QueryKind::kPostalCode;
  if (code && postal_.HasCodes()) {
    SearchPostal(*what.postal);
    Publish(text);
    return;
  }
  // Without the codes' file a code's text answers as it always did (five
  // digits as a number), and the answer tells why.
  std::optional<PhoneNumber> phone = what.phone;
  if (code) {
    phone = ParsePhoneNumber(text);
    postalUntold_ = postal_.Outcome().problem == FileProblem::kMissing;
  }
  if (phone) {
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
  // "000", or a place with a postal code, finds no cities; a place whose
  // name holds a 0 ("Britannia No. 502, SK") is still a place, so the place
  // search runs first; when it finds nothing, the map and the third heading
  // stay as they were, as for any number that finds nothing.
  const bool zero = number == 0 && text.find('0') != std::string::npos;
  const std::string stateBefore = strFoundState;
  const std::string majorHeadingBefore = lblMajorCities;

  // "Dayton, OH 45402": the place as written; only where that finds no
  // place, the place of its code.
  const bool withCode = what.kind == QueryKind::kPlace && what.postal;
  std::string city, state;
  const bool split = SplitCityState(withCode ? std::string(what.placeText) : text, city, state);
  if (split || (city.empty() && !state.empty())) {
    LookupPlace(city, state);
  } else if (!city.empty() && !SearchCityThenState(city)) {
    SearchCityOnly(city);
  }
  const bool asked = outcome_ == AnswerOutcome::kCancelled || outcome_ == AnswerOutcome::kChoices;
  if (listLargestCity.GetCount() == 0 && !asked && withCode && postal_.HasCodes()) {
    BeginSearch();
    SearchPostal(*what.postal);
    editQuery = text;
    if (outcome_ == AnswerOutcome::kNoCities) {
      strFoundState = stateBefore;
      lblMajorCities = majorHeadingBefore;
    }
  } else if (listLargestCity.GetCount() == 0 && !asked && zero) {
    AddMessage(kNoCitiesFound, AnswerOutcome::kNoCities);
    strFoundState = stateBefore;
    lblMajorCities = majorHeadingBefore;
    listStateOrProvince.ResetContent();
  } else if (listLargestCity.GetCount() == 0 && !asked) {
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
  // A full number stays in the field as given, so that searching it again
  // (Enter, new calling hours) answers its exchange again.
  if (!number) editQuery = AreaCodeText(areaCode);
  listAreaCodes.AddString(AreaCodeText(areaCode));
  ShowAreaCodes({areaCode});
  if (listLargestCity.GetCount() == 0) {
    // A code announced but not in service yet says when it begins.
    if (const PlannedCode* planned = plannedCodes_.Find(areaCode)) {
      planned_ = *planned;
      AddMessage(PlannedCodeText(*planned), AnswerOutcome::kPlanned);
    } else {
      AddMessage(kNoCitiesFound, AnswerOutcome::kNoCities);
    }
  }
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
    KeepListed(exchange_->place, exchange_->state);
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

namespace {

// What tells a choice from the places its text also names, in more words
// the higher the level (1 to 3): its area codes, its people, its id. Levels
// that add nothing give "".
std::string Qualifier(const CityChoice& choice, int level) {
  std::vector<std::string> codes;
  for (const std::int32_t code : choice.areaCodes) codes.push_back(std::to_string(code));
  std::vector<std::string> parts = {JoinedNonEmpty(codes, "/")};
  if (level >= 2) {
    parts.push_back((choice.population > 0 ? GroupedCount(choice.population) : "0") + " people");
  }
  if (level >= 3) parts.push_back("place " + std::to_string(choice.cityId));
  return JoinedNonEmpty(parts, ", ");
}

// The lowest level at which the qualifier of `choices[at]` differs from those
// of all `choices` whose `alike` is set; 3 when none does sooner.
int QualifierLevel(const std::vector<CityChoice>& choices, std::size_t at,
                   const std::vector<bool>& alike) {
  for (int level = 1; level < 3; ++level) {
    const std::string mine = Qualifier(choices[at], level);
    if (mine.empty()) continue;
    bool distinct = true;
    for (std::size_t i = 0; i < choices.size() && distinct; ++i) {
      distinct = i == at || !alike[i] || CompareNoCase(Qualifier(choices[i], level), mine) != 0;
    }
    if (distinct) return level;
  }
  return 3;
}

}  // namespace

std::vector<CityChoice> SearchFlow::ChoicesOfRows(const std::vector<std::uint32_t>& rows) {
  setAreaCodes.EnsureLoaded();
  std::vector<CityChoice> choices;
  choices.reserve(rows.size());
  // Choices come by the hundred from a few states: each state's name is
  // looked up once.
  // Most are codes of two letters, compared without a call.
  std::vector<std::pair<std::string_view, std::string>> stateNames;
  for (const std::uint32_t row : rows) {
    const std::string_view name = setCities.CityNames()[row];
    const std::string_view state = setCities.States()[row];
    const bool code = state.size() == 2;
    auto known = std::find_if(stateNames.begin(), stateNames.end(), [&](const auto& pair) {
      return code ? pair.first.size() == 2 && pair.first[0] == state[0] && pair.first[1] == state[1]
                  : pair.first == state;
    });
    if (known == stateNames.end()) known = stateNames.insert(known, {state, StateAbbrevToName(state)});
    const std::uint32_t cityId = setCities.CityIds()[row];
    CityChoice& choice = choices.emplace_back();
    choice.text.reserve(name.size() + 2 + known->second.size());
    choice.text.append(name).append(", ").append(known->second);
    choice.city = name;
    choice.state = state;
    choice.population = static_cast<std::int32_t>(setCities.Populations()[row]);
    choice.cityId = static_cast<std::int32_t>(cityId);
    for (const std::uint32_t pair : setAreaCodes.RowsOfCity(cityId)) {
      const auto code = static_cast<std::int32_t>(setAreaCodes.AreaCodes()[pair]);
      if (std::find(choice.areaCodes.begin(), choice.areaCodes.end(), code) == choice.areaCodes.end()) {
        choice.areaCodes.push_back(code);
      }
    }
    std::sort(choice.areaCodes.begin(), choice.areaCodes.end());
  }
  // Texts that read alike (a data file with one name twice in a state) are
  // told apart. Alike texts have alike names: those stand together in the
  // name order, so the choices are put in order by their name group in
  // counting passes (time linear in the choices, however many), and only
  // each group's few by their texts.
  std::vector<std::uint32_t> order(rows.size()), groups(rows.size());
  std::vector<KeyedRow> keyed(rows.size());
  for (std::uint32_t i = 0; i < rows.size(); ++i) {
    groups[i] = setCities.NamePlaceOf(rows[i]).first;
    keyed[i] = {groups[i], i};
  }
  SortByKeyThen(keyed, [&](const KeyedRow& a, const KeyedRow& b) {
    return CompareNoCase(choices[a.row].text, choices[b.row].text) < 0;
  });
  for (std::size_t k = 0; k < keyed.size(); ++k) order[k] = keyed[k].row;
  const auto group = [&](std::uint32_t i) { return groups[i]; };
  for (std::size_t at = 0; at < order.size();) {
    std::size_t end = at + 1;
    while (end < order.size() && group(order[end]) == group(order[at]) &&
           CompareNoCase(choices[order[end]].text, choices[order[at]].text) == 0) {
      ++end;
    }
    if (end - at > 1) {
      std::vector<bool> alike(choices.size(), false);
      for (std::size_t k = at; k < end; ++k) alike[order[k]] = true;
      std::vector<std::string> qualified;
      for (std::size_t k = at; k < end; ++k) {
        const CityChoice& choice = choices[order[k]];
        qualified.push_back(choice.text + " (" +
                            Qualifier(choice, QualifierLevel(choices, order[k], alike)) + ")");
      }
      for (std::size_t k = at; k < end; ++k) choices[order[k]].text = std::move(qualified[k - at]);
    }
    at = end;
  }
  // The order shown: the most populous first, found on indexes so that each
  // choice moves once; the texts are read only where populations are equal.
  for (std::size_t k = 0; k < order.size(); ++k) {
    keyed[k] = {UINT32_MAX - static_cast<std::uint32_t>(choices[order[k]].population), order[k]};
  }
  SortByKeyThen(keyed, [&](const KeyedRow& a, const KeyedRow& b) {
    return ShownBefore(choices[a.row], choices[b.row]);
  });
  for (std::size_t k = 0; k < keyed.size(); ++k) order[k] = keyed[k].row;
  std::vector<CityChoice> shown;
  shown.reserve(choices.size());
  for (const std::uint32_t i : order) shown.push_back(std::move(choices[i]));
  return shown;
}

std::optional<std::uint32_t> SearchFlow::ChoosePlace(const std::vector<std::uint32_t>& rows) {
  std::vector<CityChoice> shown = ChoicesOfRows(rows);
  const CityChoiceReply reply = chooser_.ChooseCity(shown);
  if (reply.kind == CityChoiceReply::Kind::kUnanswered) {
    openChoices_ = std::move(shown);
    outcome_ = AnswerOutcome::kChoices;
    return std::nullopt;
  }
  // A reply that names none of the places offered chooses none.
  const auto chosen = std::find_if(shown.begin(), shown.end(), [&](const CityChoice& choice) {
    return reply.cityId >= 0 ? choice.cityId == reply.cityId
                             : CompareNoCase(choice.text, reply.text) == 0;
  });
  if (reply.kind == CityChoiceReply::Kind::kCancelled || chosen == shown.end()) {
    outcome_ = AnswerOutcome::kCancelled;
    return std::nullopt;
  }
  const std::uint32_t row = setCities.RowsOfCity(static_cast<std::uint32_t>(chosen->cityId)).front();
  editQuery = QueryOfRow(row);
  return row;
}

std::vector<std::uint32_t> SearchFlow::MatchPlaces(const std::string& city,
                                                   const std::string& state) {
  std::string filter = std::string("strCity = ") + kQuote + city + kQuote;
  if (!state.empty()) filter += std::string(" and strStateOrProvince = ") + kQuote + state + kQuote;
  const CityQuery query = ParseCityFilter(filter);
  std::vector<std::uint32_t> rows;
  const auto add = [&](const std::vector<std::uint32_t>& found) {
    for (const std::uint32_t row : found) {
      if (state.empty() || CompareNoCase(CurrentStateCode(setCities.States()[row]), query.state) == 0) {
        rows.push_back(row);
      }
    }
  };
  // A name as typed: the places stored under it, and (knd.bin) those people
  // call so. Only when there are none, the spellings of the filter.
  add(setCities.RowsNamed(city));
  if (kinds_.HasPlainNames()) add(kinds_.RowsWithPlainName(setCities, city));
  if (rows.empty()) {
    setCities.strFilter = filter;
    setCities.Open();
    rows = setCities.SelectedRows();
    if (kinds_.HasPlainNames()) {
      add(kinds_.RowsWithPlainName(setCities, query.city));
      if (query.accentedCity != query.city) add(kinds_.RowsWithPlainName(setCities, query.accentedCity));
    }
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

std::vector<std::uint32_t> SearchFlow::QualifiedPlaces(const std::string& city,
                                                       const std::string& state) {
  const std::size_t open = state.rfind(" (");
  if (!state.ends_with(')') || open == std::string::npos || open == 0) return {};
  std::string code = state.substr(0, open);
  NormalizeStateText(code);
  const std::string qualifier = state.substr(open + 2, state.size() - open - 3);
  const std::vector<std::uint32_t> named = MatchPlaces(city, code);
  const std::vector<CityChoice> choices = ChoicesOfRows(named);
  std::vector<std::uint32_t> rows;
  for (const CityChoice& choice : choices) {
    for (int level = 1; level <= 3; ++level) {
      if (CompareNoCase(Qualifier(choice, level), qualifier) == 0) {
        rows.push_back(setCities.RowsOfCity(static_cast<std::uint32_t>(choice.cityId)).front());
        break;
      }
    }
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::string SearchFlow::QueryOfRow(std::uint32_t row) {
  const std::string_view name = setCities.CityNames()[row];
  const std::string_view state = setCities.States()[row];
  std::string text = std::string(name) + ", " + StateAbbrevToName(state);
  std::vector<std::uint32_t> named = MatchPlaces(std::string(name), std::string(CurrentStateCode(state)));
  if (std::find(named.begin(), named.end(), row) == named.end()) named.push_back(row);
  if (named.size() == 1 || kinds_.StandingOut(setCities, named) == row) return text;
  // The text finds others too: it says what tells this place from them.
  const std::vector<CityChoice> choices = ChoicesOfRows(named);
  const auto at = static_cast<std::size_t>(
      std::find_if(choices.begin(), choices.end(),
                   [&](const CityChoice& c) { return c.cityId == static_cast<std::int32_t>(setCities.CityIds()[row]); }) -
      choices.begin());
  return text + " (" + Qualifier(choices[at], QualifierLevel(choices, at, std::vector<bool>(choices.size(), true))) + ")";
}

std::string SearchFlow::QueryOfPlace(std::int32_t cityId) {
  if (cityId < 0 || !setCities.EnsureLoaded()) return {};
  const std::span<const std::uint32_t> rows = setCities.RowsOfCity(static_cast<std::uint32_t>(cityId));
  return rows.empty() ? std::string() : QueryOfRow(rows.front());
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
  std::vector<std::uint32_t> offered;
  {
    BusyScope wait(busy_);
    offered = MatchPlaces(city, {});
  }
  if (!offered.empty()) {
    // Of each state the namesake people mean, where one stands out.
    std::vector<std::uint32_t> byState = offered;
    std::stable_sort(byState.begin(), byState.end(), [&](std::uint32_t a, std::uint32_t b) {
      return CurrentStateCode(setCities.States()[a]) < CurrentStateCode(setCities.States()[b]);
    });
    offered.clear();
    for (std::size_t at = 0; at < byState.size();) {
      const std::string_view state = CurrentStateCode(setCities.States()[byState[at]]);
      std::size_t end = at + 1;
      while (end < byState.size() && CurrentStateCode(setCities.States()[byState[end]]) == state) ++end;
      const std::span<const std::uint32_t> namesakes(byState.data() + at, end - at);
      if (const std::optional<std::uint32_t> meant = kinds_.StandingOut(setCities, namesakes)) {
        offered.push_back(*meant);
      } else {
        offered.insert(offered.end(), namesakes.begin(), namesakes.end());
      }
      at = end;
    }
    std::sort(offered.begin(), offered.end());
    if (offered.size() == 1) {
      // One place: looked up at once, the field showing its name and state.
      const std::string query = QueryOfRow(offered.front());
      LookupRow(offered.front());
      editQuery = query;
      return true;
    }
  } else {
    // No exact name: offer every name that begins with the text.
    setCities.strFilter = std::string("strCity LIKE ") + kQuote + city + "%" + kQuote;
    setCities.Requery();
    offered = setCities.SelectedRows();
    if (offered.empty()) return true;
  }
  const std::optional<std::uint32_t> chosen = ChoosePlace(offered);
  if (!chosen) return false;
  LookupRow(*chosen);
  return true;
}

bool SearchFlow::LookupPlace(const std::string& city, const std::string& state) {
  if (city.empty()) {
    LookupState(state);
    return true;
  }
  // "Dayton," names no state and so no place.
  std::vector<std::uint32_t> rows = state.empty() ? std::vector<std::uint32_t>() : MatchPlaces(city, state);
  if (rows.empty() && !state.empty()) rows = QualifiedPlaces(city, state);
  if (rows.empty()) {
    BusyScope wait(busy_);
    strFoundState.clear();
    ShowAreaCodes({});
    return true;
  }
  // Namesakes: the one people mean where one stands out, else a choice.
  std::optional<std::uint32_t> row =
      rows.size() == 1 ? rows.front() : kinds_.StandingOut(setCities, rows);
  if (!row && !(row = ChoosePlace(rows))) return false;
  LookupRow(*row);
  return true;
}

void SearchFlow::LookupState(const std::string& state) {
  BusyScope wait(busy_);
  strFoundState.clear();
  std::vector<std::int32_t> areaCodes;
  setCities.strFilter = std::string("strStateOrProvince = ") + kQuote + state + kQuote;
  setCities.Open();
  // The state as stored, whatever case it was typed in.
  std::string stored = state;
  if (!setCities.SelectedRows().empty()) stored = setCities.States()[setCities.SelectedRows().front()];
  // Many places: read from the columns, without making each the current
  // one; a city whose codes are all listed adds nothing.
  setAreaCodes.EnsureLoaded();
  std::array<bool, 1000> listed{};  // by area code (arc.bin holds 100 to 999)
  for (const std::uint32_t row : setCities.SelectedRows()) {
    if (!IsMajorCity(setCities.Populations()[row])) continue;
    const std::uint32_t cityId = setCities.CityIds()[row];
    const std::span<const std::uint32_t> pairs = setAreaCodes.RowsOfCity(cityId);
    if (std::all_of(pairs.begin(), pairs.end(),
                    [&](std::uint32_t pair) { return listed[setAreaCodes.AreaCodes()[pair]]; })) {
      continue;
    }
    AddCodesOfCity(static_cast<std::int32_t>(cityId), areaCodes);
    for (const std::uint32_t pair : pairs) listed[setAreaCodes.AreaCodes()[pair]] = true;
  }
  setCities.MovePastEnd();
  if (areaCodes.empty()) AddCodesOfEveryPlace(state, areaCodes);
  ShowAreaCodes(areaCodes, &stored);
  strFoundState = setCities.strStateOrProvince;
}

std::string SearchFlow::PlaceOfCode(std::string_view text) const {
  const RecognizedQuery what = RecognizeQuery(text);
  if (what.kind != QueryKind::kZip && what.kind != QueryKind::kPostalCode) return {};
  const PostalPlace* found = what.postal->wellFormed ? postal_.Find(*what.postal) : nullptr;
  if (found == nullptr || found->cityId <= 0) return {};
  const std::span<const std::uint32_t> rows =
      setCities.RowsOfCity(static_cast<std::uint32_t>(found->cityId));
  if (rows.empty()) return {};
  return setCities.PlaceText(rows.front());
}

void SearchFlow::SearchPostal(const PostalCode& code) {
  PostalAnswer told{code, std::nullopt, PostalBasis::kUnknown, false};
  const PostalPlace* found = code.wellFormed ? postal_.Find(code) : nullptr;
  std::span<const std::uint32_t> rows;
  if (found != nullptr && found->cityId > 0) {
    rows = setCities.RowsOfCity(static_cast<std::uint32_t>(found->cityId));
  }
  told.listed = found != nullptr;
  editQuery = std::string(code.Text());
  if (rows.empty()) {
    // As a number that finds nothing: the map and the lists' headings stay.
    // A ZIP code not listed beside listed ones may still be one.
    const bool maybe = found != nullptr || (code.wellFormed && postal_.HasZipPrefix(code));
    AddMessage((maybe ? "No place known for " : "No ") + PostalCodeName(code), AnswerOutcome::kNoCities);
    postalAnswer_ = std::move(told);
    return;
  }
  LookupRow(rows.front());
  told.basis = found->basis;
  told.place = PlaceFactsOfRow(rows.front());
  postalAnswer_ = std::move(told);
}

void SearchFlow::LookupRow(std::uint32_t row) {
  BusyScope wait(busy_);
  strFoundState.clear();
  std::vector<std::int32_t> areaCodes;
  AddCodesOfCity(static_cast<std::int32_t>(setCities.CityIds()[row]), areaCodes);
  const TimePlace typed = TimePlaceOfRow(row);
  const std::vector<std::uint32_t> namesakes = kinds_.NamesakesOf(setCities, row);
  const std::string ownState(setCities.States()[row]);
  ShowAreaCodes(areaCodes, &ownState);
  // The place searched is among the cities listed, however small.
  for (const EntryPlace& place : entryPlaces_) {
    if (place.row == row && !entries_[place.entry].listed) {
      entries_[place.entry].listed = true;
      SetMajorCitiesHeading();
    }
  }
  // The map shows the state of the largest city found.
  strFoundState = largestPlace_ ? largestPlace_->state : setCities.States()[row];
  // The place typed, and never a neighbour: without a zone it has no clock.
  timePlaces_.clear();
  if (typed.zone >= 0) timePlaces_ = {typed};
  searchedPlace_ = true;
  if (namesakes.size() > 1) {
    Namesakes told{std::string(kinds_.PlainName(setCities, row)),
                   std::string(CurrentStateCode(setCities.States()[row])), {}};
    std::vector<std::uint32_t> others = namesakes;
    std::erase(others, row);
    std::sort(others.begin(), others.end(), [&](std::uint32_t a, std::uint32_t b) {
      return kinds_.MeantBefore(setCities, a, b);
    });
    for (const std::uint32_t other : others) told.places.push_back(PlaceFactsOfRow(other));
    namesakes_ = std::move(told);
  }
}

// A state or territory none of whose places has more than 10000 inhabitants
// (Nunavut), or a member named in full ("Cayman Islands"), would list
// nothing: it lists the area codes of all its places.
void SearchFlow::AddCodesOfEveryPlace(const std::string& state,
                                      std::vector<std::int32_t>& areaCodes) {
  std::string code = state;
  NormalizeStateText(code);
  setCities.strFilter.clear();
  setCities.Requery();
  for (; !setCities.IsEOF(); setCities.MoveNext()) {
    if (CompareNoCase(CurrentStateCode(setCities.strStateOrProvince), code) == 0) {
      AddCodesOfCity(setCities.iCityId, areaCodes);
    }
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

void SearchFlow::ShowAreaCodes(const std::vector<std::int32_t>& areaCodes,
                               const std::string* ownState) {
  BusyScope wait(busy_);
  strFoundState.clear();
  listLargestCity.ResetContent();
  entries_.clear();
  entryPlaces_.clear();
  timePlaces_.clear();
  searchedPlace_ = false;
  zonePlace_.reset();
  largestPlace_.reset();
  pluralCodes_ = areaCodes.size() >= 2;
  lblAreaCodes = pluralCodes_ ? "Area codes:" : "Area code:";
  lblLargestCity = pluralCodes_ ? "Largest city in area codes:" : "Largest city in area code:";
  const std::optional<std::int32_t> bestCityId = ListPlacesOfCodes(areaCodes);
  if (ownState != nullptr && !areaCodes.empty()) strFoundState = *ownState;

  std::stable_sort(timePlaces_.begin(), timePlaces_.end(),
                   [](const TimePlace& a, const TimePlace& b) { return a.population > b.population; });

  const char* shared = areaCodes.empty() ? nullptr : SharedRegionLine(areaCodes.front());
  listStateOrProvince.AddString(shared ? shared : StateDisplayForm(strFoundState));
  SetMajorCitiesHeading();

  if (bestCityId) {
    SetCityIdFilter(setCities.strFilter, *bestCityId);
    if (setCities.Requery()) {
      listLargestCity.AddString(setCities.strCity);
      zonePlace_ = CurrentTimePlace();
      largestPlace_ = CurrentPlaceFacts();
    }
  }
}

void SearchFlow::SetMajorCitiesHeading() {
  const std::size_t all = entries_.size();
  const std::size_t listed = static_cast<std::size_t>(
      std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.listed; }));
  const char* codes = pluralCodes_ ? ") in area codes:" : ") in area code:";
  lblMajorCities = "Major cities (" + std::to_string(listed) +
                   (listed < all ? " of " + std::to_string(all) : std::string()) + codes;
  lblAllPlaces = "All places (" + std::to_string(all) + codes;
}

// The codes of an overlay complex share their places. A place read once
// changes nothing when read again for another code with the same entry form
// (its entry, the largest city and the clocks stay), so it is listed once. The
// state found is that of the last place of the last code among the places of
// the state that holds most of them: a code whose places all lie in one state
// is that state's, and a neighbour served across a border (Saint-Régis, QC on
// 613) does not give the code its province. What each code decides alone is
// laid out with its places (CodePlaces); several codes combine it in their
// order, the first reached of equals counting.
std::optional<std::int32_t> SearchFlow::ListPlacesOfCodes(
    const std::vector<std::int32_t>& areaCodes) {
  if (areaCodes.empty()) return std::nullopt;
  setAreaCodes.EnsureLoaded();
  setCities.EnsureLoaded();
  if (codePlacesRows_ != setCities.RowCount() || codePlacesPairs_ != setAreaCodes.CityIds().size()) {
    BuildCodePlaces();
  }
  using Code = CodePlaces::Code;
  std::vector<const Code*>& codes = listedCodes_;
  codes.clear();
  for (const std::int32_t areaCode : areaCodes) {
    if (const Code* code = codePlaces_.Find(areaCode)) codes.push_back(code);
  }
  if (codes.empty()) {
    entries_.clear();
    entryPlaces_.clear();
    return std::nullopt;
  }
  // The largest place of each time zone, the zone first reached first.
  std::vector<CodePlaces::Clock> clocks;
  CodePlaces::Largest best, bestOfAll;
  std::uint32_t bestCode = 0, bestOfAllCode = 0;
  // Each state's places listed, its last place reached and when.
  struct StatePlaces {
    std::uint32_t state;
    std::uint32_t places;
    std::uint32_t lastRow;
    std::uint64_t reached;
  };
  std::vector<StatePlaces> states;
  const auto earlier = [](std::uint32_t codeA, std::uint32_t reachA, std::uint32_t codeB,
                          std::uint32_t reachB) {
    return codeA != codeB ? codeA < codeB : reachA < reachB;
  };
  for (std::uint32_t c = 0; c < codes.size(); ++c) {
    const Code& code = *codes[c];
    for (const CodePlaces::Clock& clock : code.clocks) {
      const auto known = std::find_if(clocks.begin(), clocks.end(), [&clock](const auto& k) {
        return k.zone == clock.zone;
      });
      if (known == clocks.end()) {
        clocks.push_back(clock);
      } else if (clock.population > known->population) {
        *known = clock;
      }
    }
    const auto outweighs = [&](const CodePlaces::Largest& found, const CodePlaces::Largest& held,
                               std::uint32_t heldCode) {
      return found.population > held.population ||
             (found.population == held.population && found.population >= 0 &&
              earlier(c, found.reach, heldCode, held.reach));
    };
    if (outweighs(code.largest, best, bestCode)) best = code.largest, bestCode = c;
    if (outweighs(code.largestOfAll, bestOfAll, bestOfAllCode)) {
      bestOfAll = code.largestOfAll, bestOfAllCode = c;
    }
    for (const CodePlaces::StatePlaces& ofState : code.states) {
      auto found = std::find_if(states.begin(), states.end(), [&ofState](const StatePlaces& s) {
        return s.state == ofState.state;
      });
      if (found == states.end()) found = states.insert(states.end(), {ofState.state, 0, 0, 0});
      found->places += ofState.places;
      found->lastRow = ofState.lastRow;
      found->reached = std::uint64_t{c} << 32 | ofState.lastReach;
    }
  }
  ListCodePlaces(codes);
  if (codes.size() > 1) {
    // A place of several codes counts once in its state.
    for (StatePlaces& ofState : states) ofState.places = 0;
    for (const CodePlaces::Place& place : listed_) {
      for (StatePlaces& ofState : states) {
        if (ofState.state == place.state) {
          ++ofState.places;
          break;
        }
      }
    }
  }
  for (const CodePlaces::Clock& clock : clocks) timePlaces_.push_back(TimePlaceOfRow(clock.row));
  // Of equal counts, the state of the last place reached.
  const auto most = std::max_element(
      states.begin(), states.end(), [](const StatePlaces& a, const StatePlaces& b) {
        return a.places != b.places ? a.places < b.places : a.reached < b.reached;
      });
  SetCityIdFilter(setCities.strFilter, static_cast<std::int32_t>(setCities.CityIds()[most->lastRow]));
  setCities.Open();
  strFoundState = setCities.strStateOrProvince;
  const CodePlaces::Largest& largest = best.population >= 0 ? best : bestOfAll;
  return largest.population >= 0 ? std::optional<std::int32_t>(largest.cityId) : std::nullopt;
}

// The places of the codes in the order of the lists (into listed_ when
// they are of several codes): one code's entries as laid out; codes whose
// entries are plain names merged by their names' positions, a place of
// several codes once; any other mix read in the order reached and sorted by
// its texts.
void SearchFlow::ListCodePlaces(const std::vector<const CodePlaces::Code*>& codes) {
  listed_.clear();
  entries_.clear();
  entryPlaces_.clear();
  if (codes.size() == 1) {
    const auto entries = codePlaces_.EntriesOf(*codes[0]);
    const auto entryPlaces = codePlaces_.EntryPlacesOf(*codes[0]);
    entries_.assign(entries.begin(), entries.end());
    entryPlaces_.assign(entryPlaces.begin(), entryPlaces.end());
    return;
  }
  ListMergedPlaces(codes);
  CodePlaces::MakeEntries(listed_, setCities, kinds_, entries_, entryPlaces_);
}

void SearchFlow::ListMergedPlaces(const std::vector<const CodePlaces::Code*>& codes) {
  if (std::none_of(codes.begin(), codes.end(), [](const auto* code) { return code->withState; })) {
    // By the positions of their names; a place of several codes comes once.
    std::vector<PositionPlace>& items = positionScratch_;
    items.clear();
    for (const auto* code : codes) {
      for (std::uint32_t at = code->begin; at < code->end; ++at) {
        items.push_back({codePlaces_.PlaceAt(at).position, at});
      }
    }
    SortByPosition(items, positionSpare_, setCities.RowCount());
    for (std::size_t k = 0; k < items.size(); ++k) {
      if (k == 0 || items[k].position != items[k - 1].position) {
        listed_.push_back(codePlaces_.PlaceAt(items[k].place));
      }
    }
    return;
  }
  // In the order reached, each place with its entry form once.
  struct Reached {
    std::uint64_t when;
    const CodePlaces::Place* place;
    bool withState;
  };
  std::vector<Reached> reached;
  for (std::uint32_t c = 0; c < codes.size(); ++c) {
    for (const CodePlaces::Place& place : codePlaces_.PlacesOf(*codes[c])) {
      reached.push_back({std::uint64_t{c} << 32 | place.reach, &place, codes[c]->withState});
    }
  }
  std::sort(reached.begin(), reached.end(),
            [](const Reached& a, const Reached& b) { return a.when < b.when; });
  std::vector<std::pair<std::uint64_t, std::size_t>> forms(reached.size());
  for (std::size_t i = 0; i < reached.size(); ++i) {
    forms[i] = {std::uint64_t{reached[i].place->row} << 1 | reached[i].withState, i};
  }
  std::sort(forms.begin(), forms.end());
  std::vector<bool> again(reached.size());
  for (std::size_t k = 1; k < forms.size(); ++k) again[forms[k].second] = forms[k].first == forms[k - 1].first;
  // Sorted by their first eight bytes, lowered, as one number; only texts
  // that agree in those are compared whole; equal texts as reached.
  std::vector<std::string> texts;
  std::vector<KeyedRow> keyed;
  for (std::size_t i = 0; i < reached.size(); ++i) {
    if (again[i]) continue;
    std::string text = setCities.PlaceText(reached[i].place->row, reached[i].withState);
    std::uint64_t key = 0;
    for (std::size_t b = 0; b < 8; ++b) {
      key = key << 8 | (b < text.size() ? kLower1252[static_cast<unsigned char>(text[b])] : 0u);
    }
    keyed.push_back({key, static_cast<std::uint32_t>(i)});
    texts.push_back(std::move(text));
  }
  std::vector<std::uint32_t> textOf(reached.size());
  for (std::size_t t = 0; t < keyed.size(); ++t) textOf[keyed[t].row] = static_cast<std::uint32_t>(t);
  const auto textLess = [&](const KeyedRow& a, const KeyedRow& b) {
    return CompareNoCase(texts[textOf[a.row]], texts[textOf[b.row]]) < 0;
  };
  SortByKeyThen(keyed, textLess);
  for (std::size_t k = 0; k < keyed.size(); ++k) {
    const Reached& place = reached[keyed[k].row];
    const bool same = k > 0 && !textLess(keyed[k - 1], keyed[k]);
    listed_.push_back(*place.place);
    listed_.back().group = same ? listed_[listed_.size() - 2].group : static_cast<std::uint32_t>(k);
    listed_.back().withState = place.withState;
  }
}

std::string SearchFlow::EntryText(std::uint32_t row, bool withState) const {
  std::string text = setCities.PlaceText(row, withState);
  return text;
}

// The layout is of the loaded sets; it is made again when they change.
void SearchFlow::BuildCodePlaces() {
  codePlaces_.Build(setCities, setAreaCodes, law_.get(), kinds_);
  codePlacesRows_ = setCities.RowCount();
  codePlacesPairs_ = setAreaCodes.CityIds().size();
}

void SearchFlow::KeepListed(const std::string& place, const std::string& state) {
  bool changed = false;
  for (Entry& entry : entries_) {
    if (entry.listed) continue;
    const std::string text = EntryText(entry.row, entry.withState);
    if (text == place || text == place + ", " + state) changed = entry.listed = true;
  }
  if (changed) SetMajorCitiesHeading();
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
                    setCities.iCityId, true};
}

TimePlace SearchFlow::TimePlaceOfRow(std::uint32_t row) const {
  const auto cityId = static_cast<std::int32_t>(setCities.CityIds()[row]);
  return TimePlace{setCities.PlaceText(row),
                   setCities.TimeZones()[row],
                   setCities.DaylightFlags()[row],
                   static_cast<std::int32_t>(setCities.Populations()[row]),
                   cityId,
                   law_ ? law_->ZoneOfPlace(cityId) : -1};
}

PlaceFacts SearchFlow::PlaceFactsOfRow(std::uint32_t row) const {
  return PlaceFacts{std::string(setCities.CityNames()[row]), std::string(setCities.States()[row]),
                    static_cast<std::int32_t>(setCities.Populations()[row]),
                    static_cast<std::int32_t>(setCities.CityIds()[row]), true};
}

// The answer before is held by the flow alone once its searcher has let go
// of it: its lists then lend their storage to the new one, so that a search
// of tens of thousands of places neither frees nor allocates them again.
std::shared_ptr<Answer> SearchFlow::FreshAnswer() {
  if (answer_.use_count() != 1) return std::make_shared<Answer>();
  // Every answer is made as a modifiable Answer, so filling it again is sound.
  auto answer = std::const_pointer_cast<Answer>(std::move(answer_));
  PlaceList places = std::move(answer->places);
  PlaceEntries majorEntries = std::move(answer->majorCities.entries);
  *answer = Answer{};
  answer->places = std::move(places);
  answer->majorCities.entries = std::move(majorEntries);
  return answer;
}

void SearchFlow::Publish(std::string queryGiven) {
  std::shared_ptr<Answer> answer = FreshAnswer();
  answer->queryGiven = std::move(queryGiven);
  answer->query = editQuery;
  answer->outcome = outcome_;
  answer->areaCodes = {lblAreaCodes, listAreaCodes.Entries()};
  answer->largestCity = {lblLargestCity, listLargestCity.Entries()};
  answer->majorCities.heading = lblMajorCities;
  answer->allPlacesHeading = lblAllPlaces;
  // The exchange's place is the entry of its name (with its code in the
  // lists of shared codes).
  const bool placed = exchange_ && exchange_->status == NumberResult::Status::kOk;
  int listed = 0;
  answer->majorCities.entries.Reset(setCities.Columns());
  std::vector<PlaceEntries::Row>& majorEntries = answer->majorCities.entries.Rows();
  majorEntries.reserve(entries_.size());
  for (std::size_t e = 0; e < entries_.size(); ++e) {
    const Entry& entry = entries_[e];
    if (placed && answer->exchangeRowInAll < 0 && setCities.CityNames()[entry.row] == exchange_->place &&
        (!entry.withState || setCities.States()[entry.row] == exchange_->state)) {
      answer->exchangeRowInAll = static_cast<int>(e);
      if (entry.listed) answer->exchangeRow = listed;
    }
    if (entry.listed) {
      majorEntries.push_back({entry.row, entry.withState});
      ++listed;
    }
  }
  answer->places.Reset(setCities.Columns());
  std::vector<PlaceList::Row>& places = answer->places.Rows();
  places.resize(entryPlaces_.size());
  for (std::size_t i = 0; i < entryPlaces_.size(); ++i) {
    const EntryPlace& place = entryPlaces_[i];
    const Entry& entry = entries_[place.entry];
    places[i] = {place.row, entry.listed, i == 0 || entryPlaces_[i - 1].entry != place.entry,
                 entry.withState};
  }
  answer->stateOrProvince = listStateOrProvince.Entries();
  answer->foundState = strFoundState;
  answer->largestPlace = largestPlace_;
  answer->namesakes = namesakes_;
  answer->planned = planned_;
  answer->times.zonePlace = zonePlace_;
  answer->times.clockPlaces = timePlaces_;
  answer->times.searchedPlace = searchedPlace_;
  if (answer->areaCodes.entries.size() == 1) answer->times.areaCode = answer->areaCodes.entries[0];
  answer->times.callingHours = callingHours_;
  answer->times.law = law_;
  answer->times.zoneLine = ZoneLineAt(answer->times, nowUtc_());
  answer->e164 = e164_;
  answer->exchange = exchange_;
  answer->postal = postalAnswer_;
  answer->problems = dataProblems_;
  if (postalUntold_) answer->problems.push_back(postal_.Outcome());
  answer->choices = std::move(openChoices_);
  openChoices_.clear();
  answer_ = std::move(answer);
}

bool SearchFlow::OnDblclkAreaCodes(int selected) {
  if (selected < 0 || selected >= listAreaCodes.GetCount()) return false;
  const std::string entry = listAreaCodes.GetText(selected);
  if (entry == editQuery) return false;
  editQuery = entry;
  OnOK();
  return true;
}

// The largest city is searched as the place it is; a message in its list
// is searched as a city of the state line ("No cities found, ").
bool SearchFlow::OnDblclkLargestCity(int selected) {
  if (selected < 0 || selected >= listLargestCity.GetCount()) return false;
  if (largestPlace_) {
    return SearchPlaceRow(setCities.RowsOfCity(static_cast<std::uint32_t>(largestPlace_->cityId)).front());
  }
  std::string stateName = listStateOrProvince.GetText(0);
  const std::size_t paren = stateName.find('(');
  if (paren != std::string::npos && paren >= 1) stateName.resize(paren);
  const std::string place = listLargestCity.GetText(selected) + ", " + stateName;
  if (place == editQuery) return false;
  editQuery = place;
  OnOK();
  return true;
}

bool SearchFlow::OnDblclkMajorCities(int selected) {
  for (const Entry& entry : entries_) {
    if (entry.listed && selected-- == 0) return SearchPlaceRow(entry.row);
  }
  return false;
}

bool SearchFlow::OnDblclkAllPlaces(int selected) {
  if (selected < 0 || static_cast<std::size_t>(selected) >= entries_.size()) return false;
  return SearchPlaceRow(entries_[static_cast<std::size_t>(selected)].row);
}

// The place of an entry is searched by the text that finds it and no other.
bool SearchFlow::SearchPlaceRow(std::optional<std::uint32_t> row) {
  if (!row) return false;
  const std::string place = QueryOfRow(*row);
  if (place == editQuery) return false;
  editQuery = place;
  OnOK();
  return true;
}

}  // namespace tq
