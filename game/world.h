// Helpers over the game's records, shared by the gameplay files.
//
//   float* cell = GridCell(grid, column, row);   // the cell's first float: 1 junk, 0 empty
//   if (CellHasJunk(grid, 12, 3)) ...            // false: only the 12 x 12 block is filled
//   int enemies = EnemyCount(difficulty, level); // 1..16
#pragma once

// The played block of the grid is kGridCells x kGridCells.
inline constexpr int kGridCells = 12;

// The first float of cell (column, row); both must lie within the stored block.
float* GridCell(float* grid, int column, int row);
// Whether cell (column, row) holds junk; any cell outside the stored block reads empty.
bool CellHasJunk(const float* grid, int column, int row);
// How many enemies a level brings at a difficulty (1 Easy, 2 Normal, 3 Hard;
// any other value counts as Easy).
int EnemyCount(int difficulty, int level);
