# Valley: the runway on a plateau at 1000 ft; 2 nm out the ground falls away
# into a valley 800 ft below it, 2 nm wide, and rises beyond to hills of
# 1500 ft at 7 nm. Height above the ground grows over the valley and falls
# again over the plateau's edge. DISTANCE_NM ELEVATION_FT, one a line.
0    1000
2    1000
2.6  200
4.6  200
5.5  1200
7    1500
30   1500
