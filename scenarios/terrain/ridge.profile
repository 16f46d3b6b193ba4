# Ridge: a ridge across the approach 5.5 nm out, its crest 1500 ft above
# the runway (at sea level, as is the ground either side of it). It rises
# 1400 ft in the 0.7 nm before its crest, seen from an aircraft coming in:
# an aircraft at 140 kt flying level or descending toward it with the gear
# up closes on it at over 4600 ft/min and gets the terrain closure alert
# well before it reaches the ridge. DISTANCE_NM ELEVATION_FT, one a line.
0    0
4.5  0
5.2  1400
5.5  1500
5.8  1400
6.5  0
30   0
