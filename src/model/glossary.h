#pragma once

// The short names the code carries from the viewer's description, one line each. They are kept
// so that the code reads beside it; everything else is named for what it holds.
//
// Grids and the block
//   Nx, Ny      nodes of a grid east and north (1..Nx, 1..Ny; arrays run 0..N+1)
//   Dx, Dy      node spacing east and north; negative when the file runs east to west or north
//               to south
//   Xmin..Zmax  extent of the display surface and its elevation range (nodes with a value)
//   Xc, Yc, Zc  the view centre: the middle of the display surface's extent and range
//   zEps        elevation tolerance, a millionth of the display surface's range
//   Zbase       base height of the block; typed as -99999 or less it asks for no base
//   Nbd         number of boundaries; units are 1..Nbd+1, unit 1 the lowest
//   Wx, Wy      width and depth of the display grid in model units
//
// The view
//   Alpha       azimuth of the eye, degrees clockwise from north
//   Gamma       depression of the line of sight, degrees
//   Sca, Ve     magnification and vertical exaggeration
//   Dist, Ppz   eye distance and perspective plane (Dist 1e10 means parallel projection)
//
// The section
//   Fai         azimuth of the survey line in radians, clockwise from north
//   Nxy         columns of the section along the survey line
//   Dxx, Dyy    step of one column east and north
//   Nz, Dzz     levels of the section and their vertical step
//   Nmax        the largest of Nxy, Nz and the display grid's Nx and Ny
//
// Contours
//   Cst, Cen    first and last contour level
//   Cin         contour interval (never 0)
//
// Drawing
//   DrawMode    what the last map command drew: geological map, contour map or grid lines
//   drawUnit    unit of every display node or section cell as last drawn
