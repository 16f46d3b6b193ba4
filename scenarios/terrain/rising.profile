# Rising: a plain at sea level that rises toward the runway, 1800 ft a
# nautical mile (6000 ft/min of closure at 200 kt), to a plateau at 4700 ft
# on which the runway lies, 2 nm of it before the threshold.
# DISTANCE_NM ELEVATION_FT, one a line.
0       4700
2       4700
4.6111  0
30      0
