# Flat: level ground at sea level all along the track, the runway's
# threshold at distance 0 (DISTANCE_NM ELEVATION_FT, one point a line).
0 0
30 0
