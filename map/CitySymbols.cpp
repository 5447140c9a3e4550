#include "map/CitySymbols.h"

#include <iterator>

#include "names/StateNames.h"

namespace tq {

namespace {

// Where the symbol of a largest city goes, keyed by the texts exactly as the
// result lists show them (code page 1252, so "\xE9" is an e with acute accent).
// Positions are hand-placed on the map artwork, not derived from geography;
// Nassau is the one row off the red regions, on the sea at the lower right.
// tools/map reads this list (one row per line). The tests hold it to
// res/map/symbol-facts.tsv: after moving a symbol, run
// tools/map/check_map.py --write-facts, which checks it against the artwork.
constexpr CitySymbolPosition kCitySymbols[] = {
    {"Jersey City", "New Jersey (NJ)", 700, 96},
    {"Trenton", "New Jersey (NJ)", 696, 103},
    {"New Brunswick", "New Jersey (NJ)", 699, 102},
    {"Camden", "New Jersey (NJ)", 695, 108},
    {"Newark", "New Jersey (NJ)", 701, 98},
    {"Elizabeth", "New Jersey (NJ)", 701, 100},

    {"Washington", "District of Columbia (DC)", 685, 121},

    {"Bridgeport", "Connecticut (CT)", 706, 89},
    {"Hartford", "Connecticut (CT)", 709, 86},

    {"Winnipeg", "Manitoba (MB)", 529, 30},

    {"Birmingham", "Alabama (AL)", 619, 184},
    {"Mobile", "Alabama (AL)", 611, 216},
    {"Huntsville", "Alabama (AL)", 620, 176},

    {"Seattle", "Washington (WA)", 363, 37},
    {"Tacoma", "Washington (WA)", 364, 41},
    {"Bellingham", "Washington (WA)", 366, 29},
    {"Bellevue", "Washington (WA)", 364, 38},
    {"Spokane", "Washington (WA)", 393, 44},

    {"Portland", "Maine (ME)", 720, 62},

    {"Boise", "Idaho (ID)", 397, 87},

    {"Stockton", "California (CA)", 349, 132},
    {"Los Angeles", "California (CA)", 363, 176},
    {"Oakland", "California (CA)", 341, 131},
    {"San Jose", "California (CA)", 342, 135},
    {"San Francisco", "California (CA)", 339, 133},
    {"Redding", "California (CA)", 347, 107},
    {"Fresno", "California (CA)", 355, 145},
    {"Long Beach", "California (CA)", 364, 178},
    {"San Diego", "California (CA)", 370, 186},
    {"Pasadena", "California (CA)", 364, 173},
    {"San Mateo", "California (CA)", 339, 134},
    {"Bakersfield", "California (CA)", 358, 160},
    {"Santa Rosa", "California (CA)", 338, 125},
    {"Anaheim", "California (CA)", 365, 177},
    {"Thousand Oaks", "California (CA)", 358, 172},
    {"Glendale", "California (CA)", 361, 174},
    {"Salinas", "California (CA)", 342, 145},
    {"San Bernardino", "California (CA)", 371, 178},
    {"Sacramento", "California (CA)", 347, 126},
    {"Concord", "California (CA)", 342, 132},
    {"Irvine", "California (CA)", 366, 179},

    {"San Antonio", "Texas (TX)", 524, 238},
    {"Dallas", "Texas (TX)", 536, 200},
    {"Waco", "Texas (TX)", 531, 215},
    {"Houston", "Texas (TX)", 552, 232},
    {"Abilene", "Texas (TX)", 513, 202},
    {"Corpus Christi", "Texas (TX)", 532, 252},
    {"Beaumont", "Texas (TX)", 560, 228},
    {"Tyler", "Texas (TX)", 550, 203},
    {"Midland", "Texas (TX)", 495, 210},
    {"Austin", "Texas (TX)", 528, 227},
    {"Fort Worth", "Texas (TX)", 535, 199},
    {"Lubbock", "Texas (TX)", 498, 197},
    {"Del Rio", "Texas (TX)", 503, 234},
    {"El Paso", "Texas (TX)", 461, 212},
    {"Lufkin", "Texas (TX)", 558, 215},
    {"Wichita Falls", "Texas (TX)", 523, 190},
    {"Laredo", "Texas (TX)", 518, 256},
    {"Bryan", "Texas (TX)", 547, 224},

    {"New York", "New York (NY)", 702, 94},
    {"Syracuse", "New York (NY)", 686, 77},
    {"Brooklyn", "New York (NY)", 703, 94},
    {"Hempstead", "New York (NY)", 705, 97},
    {"Albany", "New York (NY)", 696, 78},
    {"Rochester", "New York (NY)", 670, 82},
    {"Binghamton", "New York (NY)", 680, 87},
    {"Huntington", "New York (NY)", 705, 94},
    {"Buffalo", "New York (NY)", 663, 84},
    {"Poughkeepsie", "New York (NY)", 698, 89},
    {"Mount Vernon", "New York (NY)", 703, 93},

    {"Philadelphia", "Pennsylvania (PA)", 695, 107},
    {"Pittsburgh", "Pennsylvania (PA)", 659, 110},
    {"Allentown", "Pennsylvania (PA)", 689, 101},
    {"Scranton", "Pennsylvania (PA)", 686, 95},
    {"Harrisburg", "Pennsylvania (PA)", 684, 108},
    {"Erie", "Pennsylvania (PA)", 655, 96},

    {"Cleveland", "Ohio (OH)", 645, 103},
    {"Toledo", "Ohio (OH)", 633, 104},
    {"Parma", "Ohio (OH)", 645, 105},
    {"Cincinnati", "Ohio (OH)", 630, 130},
    {"Columbus", "Ohio (OH)", 639, 117},
    {"Lancaster", "Ohio (OH)", 643, 122},
    {"Dayton", "Ohio (OH)", 630, 124},

    {"Springfield", "Illinois (IL)", 589, 127},
    {"Elgin", "Illinois (IL)", 596, 105},
    {"Peoria", "Illinois (IL)", 587, 121},
    {"Chicago", "Illinois (IL)", 599, 106},
    {"East Saint Louis", "Illinois (IL)", 587, 141},
    {"Aurora", "Illinois (IL)", 596, 108},
    {"Chicago Heights", "Illinois (IL)", 600, 112},
    {"Rockford", "Illinois (IL)", 590, 105},

    {"Duluth", "Minnesota (MN)", 564, 61},
    {"Saint Cloud", "Minnesota (MN)", 551, 76},
    {"Rochester", "Minnesota (MN)", 565, 90},
    {"Minneapolis", "Minnesota (MN)", 557, 82},
    {"Saint Paul", "Minnesota (MN)", 559, 82},

    {"Fort Wayne", "Indiana (IN)", 620, 113},
    {"Indianapolis", "Indiana (IN)", 614, 122},
    {"South Bend", "Indiana (IN)", 611, 110},
    {"Muncie", "Indiana (IN)", 620, 124},
    {"Evansville", "Indiana (IN)", 607, 144},

    {"Baton Rouge", "Louisiana (LA)", 587, 220},
    {"Shreveport", "Louisiana (LA)", 564, 203},
    {"Lafayette", "Louisiana (LA)", 577, 224},
    {"New Orleans", "Louisiana (LA)", 597, 225},
    {"Houma", "Louisiana (LA)", 592, 231},

    {"Gulfport", "Mississippi (MS)", 603, 219},
    {"Jackson", "Mississippi (MS)", 591, 203},
    {"Greenville", "Mississippi (MS)", 585, 189},

    {"Albany", "Georgia (GA)", 640, 203},
    {"Atlanta", "Georgia (GA)", 638, 180},
    {"Macon", "Georgia (GA)", 645, 189},
    {"Columbus", "Georgia (GA)", 636, 196},
    {"Savannah", "Georgia (GA)", 666, 192},

    {"Muskegon", "Michigan (MI)", 611, 94},
    {"Troy", "Michigan (MI)", 632, 91},
    {"Kalamazoo", "Michigan (MI)", 615, 101},
    {"Detroit", "Michigan (MI)", 632, 94},
    {"Lansing", "Michigan (MI)", 621, 95},
    {"Flint", "Michigan (MI)", 626, 91},
    {"Grand Rapids", "Michigan (MI)", 616, 95},
    {"Ann Arbor", "Michigan (MI)", 627, 98},
    {"Saginaw", "Michigan (MI)", 624, 89},

    {"Fort Myers", "Florida (FL)", 675, 251},
    {"Miami", "Florida (FL)", 687, 251},
    {"Orlando", "Florida (FL)", 672, 230},
    {"Gainesville", "Florida (FL)", 661, 216},
    {"Daytona Beach", "Florida (FL)", 673, 222},
    {"Boca Raton", "Florida (FL)", 687, 247},
    {"Saint Petersburg", "Florida (FL)", 661, 236},
    {"Fort Lauderdale", "Florida (FL)", 687, 254},
    {"Fort Pierce", "Florida (FL)", 684, 238},
    {"Tampa", "Florida (FL)", 664, 237},
    {"Tallahassee", "Florida (FL)", 645, 214},
    {"Lakeland", "Florida (FL)", 669, 237},
    {"Jacksonville", "Florida (FL)", 666, 211},
    {"Sarasota", "Florida (FL)", 664, 241},

    {"Rockville", "Maryland (MD)", 684, 120},
    {"Baltimore", "Maryland (MD)", 687, 116},

    {"Nassau", "Bahamas", 715, 253},

    {"Kelowna", "British Columbia (BC)", 386, 19},
    {"Vancouver", "British Columbia (BC)", 362, 21},

    {"Rocky Mount", "North Carolina (NC)", 691, 149},
    {"Winston-Salem", "North Carolina (NC)", 665, 153},
    {"Charlotte", "North Carolina (NC)", 665, 162},
    {"Asheville", "North Carolina (NC)", 652, 160},
    {"Fayetteville", "North Carolina (NC)", 681, 161},
    {"Raleigh", "North Carolina (NC)", 684, 151},

    {"Racine", "Wisconsin (WI)", 597, 97},
    {"Milwaukee", "Wisconsin (WI)", 596, 96},
    {"Madison", "Wisconsin (WI)", 586, 96},
    {"Eau Claire", "Wisconsin (WI)", 570, 81},
    {"Green Bay", "Wisconsin (WI)", 594, 81},

    {"Owensboro", "Kentucky (KY)", 609, 147},
    {"Louisville", "Kentucky (KY)", 622, 144},
    {"Somerset", "Kentucky (KY)", 629, 149},
    {"Lexington", "Kentucky (KY)", 629, 141},

    {"Bristol", "Virginia (VA)", 649, 150},
    {"Lynchburg", "Virginia (VA)", 670, 139},
    {"Roanoke", "Virginia (VA)", 664, 144},
    {"Arlington", "Virginia (VA)", 682, 122},
    {"Virginia Beach", "Virginia (VA)", 696, 139},
    {"Richmond", "Virginia (VA)", 683, 136},

    {"Mississauga", "Ontario (ON)", 657, 77},
    {"Toronto", "Ontario (ON)", 657, 78},
    {"London", "Ontario (ON)", 646, 88},
    {"Ottawa", "Ontario (ON)", 676, 58},
    {"Sudbury", "Ontario (ON)", 642, 58},
    {"Thunder Bay", "Ontario (ON)", 580, 45},

    {"Wilmington", "Delaware (DE)", 693, 112},

    {"Denver", "Colorado (CO)", 474, 134},
    {"Colorado Springs", "Colorado (CO)", 472, 141},
    {"Grand Junction", "Colorado (CO)", 448, 137},

    {"Charleston", "West Virginia (WV)", 649, 134},

    {"Cheyenne", "Wyoming (WY)", 472, 118},

    {"Grand Island", "Nebraska (NE)", 521, 124},
    {"Omaha", "Nebraska (NE)", 538, 118},

    {"Saint Louis", "Missouri (MO)", 585, 140},
    {"Springfield", "Missouri (MO)", 564, 158},
    {"Columbia", "Missouri (MO)", 567, 138},
    {"Saint Charles", "Missouri (MO)", 582, 139},
    {"Sedalia", "Missouri (MO)", 562, 139},
    {"Kansas City", "Missouri (MO)", 552, 140},

    {"Wichita", "Kansas (KS)", 533, 151},
    {"Dodge City", "Kansas (KS)", 511, 152},
    {"Topeka", "Kansas (KS)", 544, 140},
    {"Kansas City", "Kansas (KS)", 550, 140},

    {"Davenport", "Iowa (IA)", 579, 112},
    {"Des Moines", "Iowa (IA)", 558, 114},
    {"Mason City", "Iowa (IA)", 559, 100},
    {"Sioux City", "Iowa (IA)", 537, 106},

    {"Boston", "Massachusetts (MA)", 718, 76},
    {"Lowell", "Massachusetts (MA)", 714, 73},
    {"Springfield", "Massachusetts (MA)", 707, 81},
    {"Worcester", "Massachusetts (MA)", 713, 78},

    {"Providence", "Rhode Island (RI)", 717, 81},

    {"Calgary", "Alberta (AB)", 423, 18},

    {"Oklahoma City", "Oklahoma (OK)", 531, 174},
    {"Lawton", "Oklahoma (OK)", 528, 184},
    {"Tulsa", "Oklahoma (OK)", 545, 169},

    {"Billings", "Montana (MT)", 453, 70},

    {"Qu\xE9" "bec City", "Qu\xE9" "bec (QC)", 703, 31},
    {"Laval", "Qu\xE9" "bec (QC)", 690, 52},
    {"Montr\xE9" "al", "Qu\xE9" "bec (QC)", 692, 47},
    {"Gatineau", "Qu\xE9" "bec (QC)", 676, 56},

    {"Chattanooga", "Tennessee (TN)", 629, 168},
    {"Nashville", "Tennessee (TN)", 619, 162},
    {"Jackson", "Tennessee (TN)", 600, 169},
    {"Knoxville", "Tennessee (TN)", 633, 161},
    {"Memphis", "Tennessee (TN)", 591, 172},
    {"Clarksville", "Tennessee (TN)", 606, 163},

    {"Saint George", "Utah (UT)", 409, 151},
    {"Salt Lake City", "Utah (UT)", 423, 118},

    {"Fort Smith", "Arkansas (AR)", 557, 174},
    {"Little Rock", "Arkansas (AR)", 572, 181},
    {"Jonesboro", "Arkansas (AR)", 584, 168},

    {"Phoenix", "Arizona (AZ)", 415, 190},
    {"Tucson", "Arizona (AZ)", 419, 199},
    {"Yuma", "Arizona (AZ)", 393, 190},

    {"Portland", "Oregon (OR)", 356, 60},
    {"Eugene", "Oregon (OR)", 352, 74},

    {"Albuquerque", "New Mexico (NM)", 459, 178},

    {"Saint John", "New Brunswick (NB)", 743, 34},

    {"Manchester", "New Hampshire (NH)", 712, 69},

    {"Sioux Falls", "South Dakota (SD)", 533, 94},

    {"Fargo", "North Dakota (ND)", 531, 63},

    {"Las Vegas", "Nevada (NV)", 393, 158},
    {"Reno", "Nevada (NV)", 363, 118},

    {"Burlington", "Vermont (VT)", 697, 63},

    {"Columbia", "South Carolina (SC)", 668, 176},
    {"Charleston", "South Carolina (SC)", 675, 184},
    {"Greenville", "South Carolina (SC)", 651, 169},

    {"Honolulu", "Hawaii (HI)", 284, 87},

    {"Anchorage", "Alaska (AK)", 295, 44},
};

static_assert(std::size(kCitySymbols) == 234);

}  // namespace

std::span<const CitySymbolPosition> CitySymbolTable() { return kCitySymbols; }

int FindCitySymbol(const std::string& city, const std::string& stateDisplayForm, int& x, int& y) {
  x = 0;
  y = 0;
  for (const CitySymbolPosition& row : kCitySymbols) {
    if (row.stateDisplayForm == stateDisplayForm && row.city == city) {
      x = row.x;
      y = row.y;
      return 1;
    }
  }
  return 0;
}

std::optional<SymbolPosition> CitySymbolToDraw(bool initializing, const std::string& foundState,
                                               const std::string& largestCity,
                                               const std::string& largestCityState) {
  // The first painting comes before any search and draws no symbol.
  if (initializing || foundState.empty() || largestCity.empty()) return std::nullopt;
  int x = 0;
  int y = 0;
  if (FindCitySymbol(largestCity, StateDisplayForm(largestCityState), x, y) == 0) {
    return std::nullopt;
  }
  return SymbolPosition{x, y};
}

}  // namespace tq
