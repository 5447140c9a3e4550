"""Fixed tables the map artwork has to agree with.

Shared by gen_map.py (which snaps the drawing to them) and check_map.py
(which verifies the written images against them).  Client pixels are
positions in the main dialog's client area; the main map image sits at
(324, 16), the Alaska inset at (263, 16) and the Hawaii inset at (263, 76).
"""

MAP_ORIGIN = (324, 16)
ALASKA_ORIGIN = (263, 16)
HAWAII_ORIGIN = (263, 76)
MAP_SIZE = (423, 263)
ALASKA_SIZE = (53, 53)
HAWAII_SIZE = (53, 40)

PLAIN_MAP_ID = 136
ALASKA_PLAIN_ID = 141
HAWAII_PLAIN_ID = 142
HAWAII_RED_ID = 143
ALASKA_RED_ID = 144

# Red extents of the main-map images, in image pixels (inclusive).
# abbreviation: (resource id, x0, x1, y0, y1)
RED_EXTENTS = {
    "AL": (151, 282, 312, 157, 204),
    "AZ": (153, 67, 116, 137, 194),
    "AR": (154, 231, 268, 147, 181),
    "CA": (150, 7, 72, 74, 176),
    "CO": (155, 117, 171, 104, 144),
    "CT": (156, 379, 391, 66, 78),
    "DC": (205, 359, 362, 104, 107),
    "DE": (157, 368, 375, 94, 106),
    "FL": (158, 292, 364, 191, 250),
    "GA": (159, 303, 345, 153, 195),
    "IA": (160, 212, 258, 80, 108),
    "ID": (149, 65, 109, 19, 90),
    "IL": (161, 251, 281, 86, 139),
    "IN": (162, 279, 301, 90, 130),
    "KS": (163, 172, 228, 116, 144),
    "KY": (164, 273, 325, 116, 144),
    "LA": (165, 237, 281, 182, 218),
    "MA": (166, 378, 404, 56, 69),
    "MD": (167, 341, 375, 96, 112),
    "ME": (168, 387, 410, 11, 52),
    "MI": (169, 253, 310, 41, 91),
    "MN": (170, 206, 252, 29, 80),
    "MO": (171, 220, 272, 108, 150),
    "MS": (172, 258, 285, 159, 206),
    "MT": (173, 82, 160, 20, 66),
    "NC": (174, 313, 380, 126, 155),
    "ND": (175, 160, 210, 29, 56),
    "NE": (176, 158, 221, 87, 115),
    "NH": (177, 382, 393, 36, 59),
    "NJ": (178, 370, 378, 78, 99),
    "NM": (179, 112, 163, 142, 195),
    "NV": (180, 37, 84, 82, 154),
    "NY": (181, 333, 391, 43, 84),
    "OH": (182, 299, 330, 83, 118),
    "OK": (183, 165, 231, 145, 176),
    "OR": (145, 12, 73, 34, 84),
    "PA": (184, 329, 373, 73, 102),
    "RI": (185, 390, 395, 65, 70),
    "SC": (186, 321, 359, 149, 177),
    "SD": (187, 159, 212, 57, 89),
    "TN": (188, 266, 330, 136, 159),
    "TX": (189, 135, 241, 151, 251),
    "UT": (190, 79, 120, 89, 140),
    "VT": (191, 372, 383, 39, 60),
    "VA": (192, 319, 374, 103, 136),
    "WA": (134, 25, 75, 11, 45),
    "WI": (193, 237, 275, 45, 87),
    "WV": (194, 320, 354, 96, 128),
    "WY": (195, 107, 157, 63, 104),
    "BC": (196, 20, 93, 1, 17),
    "AB": (197, 90, 124, 1, 21),
    "SK": (198, 123, 177, 1, 24),
    "MB": (199, 178, 217, 1, 24),
    "ON": (200, 218, 362, 1, 84),
    "QC": (201, 318, 395, 1, 41),
    "NB": (202, 394, 421, 1, 24),
    "NS": (203, 421, 421, 27, 32),
}

# Click points of the map, client pixels, in slot order: (x, y, abbreviation).
CLICK_POINTS = [
    (376, 44, "WA"),  # 0
    (365, 76, "OR"),  # 1
    (349, 110, "CA"),  # 2
    (355, 139, "CA"),  # 3
    (372, 165, "CA"),  # 4
    (411, 86, "ID"),  # 5
    (385, 124, "NV"),  # 6
    (418, 178, "AZ"),  # 7
    (447, 58, "MT"),  # 8
    (454, 96, "WY"),  # 9
    (428, 135, "UT"),  # 10
    (470, 139, "CO"),  # 11
    (462, 182, "NM"),  # 12
    (499, 177, "TX"),  # 13
    (520, 214, "TX"),  # 14
    (509, 57, "ND"),  # 15
    (509, 87, "SD"),  # 16
    (513, 117, "NE"),  # 17
    (525, 144, "KS"),  # 18
    (533, 172, "OK"),  # 19
    (576, 213, "LA"),  # 20
    (549, 69, "MN"),  # 21
    (559, 109, "IA"),  # 22
    (569, 143, "MO"),  # 23
    (583, 82, "WI"),  # 24
    (592, 124, "IL"),  # 25
    (614, 122, "IN"),  # 26
    (619, 88, "MI"),  # 27
    (639, 116, "OH"),  # 28
    (631, 144, "KY"),  # 29
    (620, 165, "TN"),  # 30
    (571, 179, "AR"),  # 31
    (598, 199, "MS"),  # 32
    (620, 192, "AL"),  # 33
    (651, 189, "GA"),  # 34
    (671, 233, "FL"),  # 35
    (668, 174, "SC"),  # 36
    (682, 156, "NC"),  # 37
    (679, 131, "VA"),  # 38
    (656, 129, "WV"),  # 39
    (688, 119, "MD"),  # 40
    (676, 103, "PA"),  # 41
    (683, 80, "NY"),  # 42
    (696, 118, "DE"),  # 43
    (700, 105, "NJ"),  # 44
    (701, 64, "VT"),  # 45
    (710, 64, "NH"),  # 46
    (710, 78, "MA"),  # 47
    (721, 44, "ME"),  # 48
    (716, 83, "RI"),  # 49
    (708, 86, "CT"),  # 50
    (392, 20, "BC"),  # 51
    (432, 24, "AB"),  # 52
    (475, 25, "SK"),  # 53
    (521, 26, "MB"),  # 54
    (571, 28, "ON"),  # 55
    (628, 31, "ON"),  # 56
    (656, 66, "ON"),  # 57
    (679, 33, "QC"),  # 58
    (736, 26, "NB"),  # 59
    (745, 45, "NS"),  # 60
]

# Largest-city symbol positions, client pixels: (state display form, city, x, y).
CITY_SYMBOLS = [
    ('New Jersey (NJ)', 'Jersey City', 700, 96),
    ('New Jersey (NJ)', 'Trenton', 696, 103),
    ('New Jersey (NJ)', 'New Brunswick', 699, 102),
    ('New Jersey (NJ)', 'Camden', 695, 108),
    ('New Jersey (NJ)', 'Newark', 701, 98),
    ('New Jersey (NJ)', 'Elizabeth', 701, 100),
    ('District of Columbia (DC)', 'Washington', 685, 121),
    ('Connecticut (CT)', 'Bridgeport', 706, 89),
    ('Connecticut (CT)', 'Hartford', 709, 86),
    ('Manitoba (MB)', 'Winnipeg', 529, 30),
    ('Alabama (AL)', 'Birmingham', 619, 184),
    ('Alabama (AL)', 'Mobile', 611, 216),
    ('Alabama (AL)', 'Huntsville', 620, 176),
    ('Washington (WA)', 'Seattle', 363, 37),
    ('Washington (WA)', 'Tacoma', 364, 41),
    ('Washington (WA)', 'Bellingham', 366, 29),
    ('Washington (WA)', 'Bellevue', 364, 38),
    ('Washington (WA)', 'Spokane', 393, 44),
    ('Maine (ME)', 'Portland', 720, 62),
    ('Idaho (ID)', 'Boise', 397, 87),
    ('California (CA)', 'Stockton', 349, 132),
    ('California (CA)', 'Los Angeles', 363, 176),
    ('California (CA)', 'Oakland', 341, 131),
    ('California (CA)', 'San Jose', 342, 135),
    ('California (CA)', 'San Francisco', 339, 133),
    ('California (CA)', 'Redding', 347, 107),
    ('California (CA)', 'Fresno', 355, 145),
    ('California (CA)', 'Long Beach', 364, 178),
    ('California (CA)', 'San Diego', 370, 186),
    ('California (CA)', 'Pasadena', 364, 173),
    ('California (CA)', 'San Mateo', 339, 134),
    ('California (CA)', 'Bakersfield', 358, 160),
    ('California (CA)', 'Santa Rosa', 338, 125),
    ('California (CA)', 'Anaheim', 365, 177),
    ('California (CA)', 'Thousand Oaks', 358, 172),
    ('California (CA)', 'Glendale', 361, 174),
    ('California (CA)', 'Salinas', 342, 145),
    ('California (CA)', 'San Bernardino', 371, 178),
    ('California (CA)', 'Sacramento', 347, 126),
    ('California (CA)', 'Concord', 342, 132),
    ('California (CA)', 'Irvine', 366, 179),
    ('Texas (TX)', 'San Antonio', 524, 238),
    ('Texas (TX)', 'Dallas', 536, 200),
    ('Texas (TX)', 'Waco', 531, 215),
    ('Texas (TX)', 'Houston', 552, 232),
    ('Texas (TX)', 'Abilene', 513, 202),
    ('Texas (TX)', 'Corpus Christi', 532, 252),
    ('Texas (TX)', 'Beaumont', 560, 228),
    ('Texas (TX)', 'Tyler', 550, 203),
    ('Texas (TX)', 'Midland', 495, 210),
    ('Texas (TX)', 'Austin', 528, 227),
    ('Texas (TX)', 'Fort Worth', 535, 199),
    ('Texas (TX)', 'Lubbock', 498, 197),
    ('Texas (TX)', 'Del Rio', 503, 234),
    ('Texas (TX)', 'El Paso', 461, 212),
    ('Texas (TX)', 'Lufkin', 558, 215),
    ('Texas (TX)', 'Wichita Falls', 523, 190),
    ('Texas (TX)', 'Laredo', 518, 256),
    ('Texas (TX)', 'Bryan', 547, 224),
    ('New York (NY)', 'New York', 702, 94),
    ('New York (NY)', 'Syracuse', 686, 77),
    ('New York (NY)', 'Brooklyn', 703, 94),
    ('New York (NY)', 'Hempstead', 705, 97),
    ('New York (NY)', 'Albany', 696, 78),
    ('New York (NY)', 'Rochester', 670, 82),
    ('New York (NY)', 'Binghamton', 680, 87),
    ('New York (NY)', 'Huntington', 705, 94),
    ('New York (NY)', 'Buffalo', 663, 84),
    ('New York (NY)', 'Poughkeepsie', 698, 89),
    ('New York (NY)', 'Mount Vernon', 703, 93),
    ('Pennsylvania (PA)', 'Philadelphia', 695, 107),
    ('Pennsylvania (PA)', 'Pittsburgh', 659, 110),
    ('Pennsylvania (PA)', 'Allentown', 689, 101),
    ('Pennsylvania (PA)', 'Scranton', 686, 95),
    ('Pennsylvania (PA)', 'Harrisburg', 684, 108),
    ('Pennsylvania (PA)', 'Erie', 655, 96),
    ('Ohio (OH)', 'Cleveland', 645, 103),
    ('Ohio (OH)', 'Toledo', 633, 104),
    ('Ohio (OH)', 'Parma', 645, 105),
    ('Ohio (OH)', 'Cincinnati', 630, 130),
    ('Ohio (OH)', 'Columbus', 639, 117),
    ('Ohio (OH)', 'Lancaster', 643, 122),
    ('Ohio (OH)', 'Dayton', 630, 124),
    ('Illinois (IL)', 'Springfield', 589, 127),
    ('Illinois (IL)', 'Elgin', 596, 105),
    ('Illinois (IL)', 'Peoria', 587, 121),
    ('Illinois (IL)', 'Chicago', 599, 106),
    ('Illinois (IL)', 'East Saint Louis', 587, 141),
    ('Illinois (IL)', 'Aurora', 596, 108),
    ('Illinois (IL)', 'Chicago Heights', 600, 112),
    ('Illinois (IL)', 'Rockford', 590, 105),
    ('Minnesota (MN)', 'Duluth', 564, 61),
    ('Minnesota (MN)', 'Saint Cloud', 551, 76),
    ('Minnesota (MN)', 'Rochester', 565, 90),
    ('Minnesota (MN)', 'Minneapolis', 557, 82),
    ('Minnesota (MN)', 'Saint Paul', 559, 82),
    ('Indiana (IN)', 'Fort Wayne', 620, 113),
    ('Indiana (IN)', 'Indianapolis', 614, 122),
    ('Indiana (IN)', 'South Bend', 611, 110),
    ('Indiana (IN)', 'Muncie', 620, 124),
    ('Indiana (IN)', 'Evansville', 607, 144),
    ('Louisiana (LA)', 'Baton Rouge', 587, 220),
    ('Louisiana (LA)', 'Shreveport', 564, 203),
    ('Louisiana (LA)', 'Lafayette', 577, 224),
    ('Louisiana (LA)', 'New Orleans', 597, 225),
    ('Louisiana (LA)', 'Houma', 592, 231),
    ('Mississippi (MS)', 'Gulfport', 603, 219),
    ('Mississippi (MS)', 'Jackson', 591, 203),
    ('Mississippi (MS)', 'Greenville', 585, 189),
    ('Georgia (GA)', 'Albany', 640, 203),
    ('Georgia (GA)', 'Atlanta', 638, 180),
    ('Georgia (GA)', 'Macon', 645, 189),
    ('Georgia (GA)', 'Columbus', 636, 196),
    ('Georgia (GA)', 'Savannah', 666, 192),
    ('Michigan (MI)', 'Muskegon', 611, 94),
    ('Michigan (MI)', 'Troy', 632, 91),
    ('Michigan (MI)', 'Kalamazoo', 615, 101),
    ('Michigan (MI)', 'Detroit', 632, 94),
    ('Michigan (MI)', 'Lansing', 621, 95),
    ('Michigan (MI)', 'Flint', 626, 91),
    ('Michigan (MI)', 'Grand Rapids', 616, 95),
    ('Michigan (MI)', 'Ann Arbor', 627, 98),
    ('Michigan (MI)', 'Saginaw', 624, 89),
    ('Florida (FL)', 'Fort Myers', 675, 251),
    ('Florida (FL)', 'Miami', 687, 251),
    ('Florida (FL)', 'Orlando', 672, 230),
    ('Florida (FL)', 'Gainesville', 661, 216),
    ('Florida (FL)', 'Daytona Beach', 673, 222),
    ('Florida (FL)', 'Boca Raton', 687, 247),
    ('Florida (FL)', 'Saint Petersburg', 661, 236),
    ('Florida (FL)', 'Fort Lauderdale', 687, 254),
    ('Florida (FL)', 'Fort Pierce', 684, 238),
    ('Florida (FL)', 'Tampa', 664, 237),
    ('Florida (FL)', 'Tallahassee', 645, 214),
    ('Florida (FL)', 'Lakeland', 669, 237),
    ('Florida (FL)', 'Jacksonville', 666, 211),
    ('Florida (FL)', 'Sarasota', 664, 241),
    ('Maryland (MD)', 'Rockville', 684, 120),
    ('Maryland (MD)', 'Baltimore', 687, 116),
    ('Bahamas', 'Nassau', 715, 253),
    ('British Columbia (BC)', 'Kelowna', 386, 19),
    ('British Columbia (BC)', 'Vancouver', 362, 21),
    ('North Carolina (NC)', 'Rocky Mount', 691, 149),
    ('North Carolina (NC)', 'Winston-Salem', 665, 153),
    ('North Carolina (NC)', 'Charlotte', 665, 162),
    ('North Carolina (NC)', 'Asheville', 652, 160),
    ('North Carolina (NC)', 'Fayetteville', 681, 161),
    ('North Carolina (NC)', 'Raleigh', 684, 151),
    ('Wisconsin (WI)', 'Racine', 597, 97),
    ('Wisconsin (WI)', 'Milwaukee', 596, 96),
    ('Wisconsin (WI)', 'Madison', 586, 96),
    ('Wisconsin (WI)', 'Eau Claire', 570, 81),
    ('Wisconsin (WI)', 'Green Bay', 594, 81),
    ('Kentucky (KY)', 'Owensboro', 609, 147),
    ('Kentucky (KY)', 'Louisville', 622, 144),
    ('Kentucky (KY)', 'Somerset', 629, 149),
    ('Kentucky (KY)', 'Lexington', 629, 141),
    ('Virginia (VA)', 'Bristol', 649, 150),
    ('Virginia (VA)', 'Lynchburg', 670, 139),
    ('Virginia (VA)', 'Roanoke', 664, 144),
    ('Virginia (VA)', 'Arlington', 682, 122),
    ('Virginia (VA)', 'Virginia Beach', 696, 139),
    ('Virginia (VA)', 'Richmond', 683, 136),
    ('Ontario (ON)', 'Mississauga', 657, 77),
    ('Ontario (ON)', 'Toronto', 657, 78),
    ('Ontario (ON)', 'London', 646, 88),
    ('Ontario (ON)', 'Ottawa', 676, 58),
    ('Ontario (ON)', 'Sudbury', 642, 58),
    ('Ontario (ON)', 'Thunder Bay', 580, 45),
    ('Delaware (DE)', 'Wilmington', 693, 112),
    ('Colorado (CO)', 'Denver', 474, 134),
    ('Colorado (CO)', 'Colorado Springs', 472, 141),
    ('Colorado (CO)', 'Grand Junction', 448, 137),
    ('West Virginia (WV)', 'Charleston', 649, 134),
    ('Wyoming (WY)', 'Cheyenne', 472, 118),
    ('Nebraska (NE)', 'Grand Island', 521, 124),
    ('Nebraska (NE)', 'Omaha', 538, 118),
    ('Missouri (MO)', 'Saint Louis', 585, 140),
    ('Missouri (MO)', 'Springfield', 564, 158),
    ('Missouri (MO)', 'Columbia', 567, 138),
    ('Missouri (MO)', 'Saint Charles', 582, 139),
    ('Missouri (MO)', 'Sedalia', 562, 139),
    ('Missouri (MO)', 'Kansas City', 552, 140),
    ('Kansas (KS)', 'Wichita', 533, 151),
    ('Kansas (KS)', 'Dodge City', 511, 152),
    ('Kansas (KS)', 'Topeka', 544, 140),
    ('Kansas (KS)', 'Kansas City', 550, 140),
    ('Iowa (IA)', 'Davenport', 579, 112),
    ('Iowa (IA)', 'Des Moines', 558, 114),
    ('Iowa (IA)', 'Mason City', 559, 100),
    ('Iowa (IA)', 'Sioux City', 537, 106),
    ('Massachusetts (MA)', 'Boston', 718, 76),
    ('Massachusetts (MA)', 'Lowell', 714, 73),
    ('Massachusetts (MA)', 'Springfield', 707, 81),
    ('Massachusetts (MA)', 'Worcester', 713, 78),
    ('Rhode Island (RI)', 'Providence', 717, 81),
    ('Alberta (AB)', 'Calgary', 423, 18),
    ('Oklahoma (OK)', 'Oklahoma City', 531, 174),
    ('Oklahoma (OK)', 'Lawton', 528, 184),
    ('Oklahoma (OK)', 'Tulsa', 545, 169),
    ('Montana (MT)', 'Billings', 453, 70),
    ('Québec (QC)', 'Québec City', 703, 31),
    ('Québec (QC)', 'Laval', 690, 52),
    ('Québec (QC)', 'Montréal', 692, 47),
    ('Québec (QC)', 'Gatineau', 676, 56),
    ('Tennessee (TN)', 'Chattanooga', 629, 168),
    ('Tennessee (TN)', 'Nashville', 619, 162),
    ('Tennessee (TN)', 'Jackson', 600, 169),
    ('Tennessee (TN)', 'Knoxville', 633, 161),
    ('Tennessee (TN)', 'Memphis', 591, 172),
    ('Tennessee (TN)', 'Clarksville', 606, 163),
    ('Utah (UT)', 'Saint George', 409, 151),
    ('Utah (UT)', 'Salt Lake City', 423, 118),
    ('Arkansas (AR)', 'Fort Smith', 557, 174),
    ('Arkansas (AR)', 'Little Rock', 572, 181),
    ('Arkansas (AR)', 'Jonesboro', 584, 168),
    ('Arizona (AZ)', 'Phoenix', 415, 190),
    ('Arizona (AZ)', 'Tucson', 419, 199),
    ('Arizona (AZ)', 'Yuma', 393, 190),
    ('Oregon (OR)', 'Portland', 356, 60),
    ('Oregon (OR)', 'Eugene', 352, 74),
    ('New Mexico (NM)', 'Albuquerque', 459, 178),
    ('New Brunswick (NB)', 'Saint John', 743, 34),
    ('New Hampshire (NH)', 'Manchester', 712, 69),
    ('South Dakota (SD)', 'Sioux Falls', 533, 94),
    ('North Dakota (ND)', 'Fargo', 531, 63),
    ('Nevada (NV)', 'Las Vegas', 393, 158),
    ('Nevada (NV)', 'Reno', 363, 118),
    ('Vermont (VT)', 'Burlington', 697, 63),
    ('South Carolina (SC)', 'Columbia', 668, 176),
    ('South Carolina (SC)', 'Charleston', 675, 184),
    ('South Carolina (SC)', 'Greenville', 651, 169),
    ('Hawaii (HI)', 'Honolulu', 284, 87),
    ('Alaska (AK)', 'Anchorage', 295, 44),
]
