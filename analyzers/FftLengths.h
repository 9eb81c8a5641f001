#pragma once

#include <mutex>
#include <vector>

// Lengths of the prime factor transform: products of 1, 2, 4, 8, 16; 1, 3, 9; 1, 5; 1, 7;
// 1, 11; 1, 13 - 240 of them, ascending, from 1 to 720720.
const std::vector<int>& validFftLengths();

// The smallest even valid length not below windowLength; 0 when the window is longer than
// the longest transform.
int evenFftLength(int windowLength);

// FFTW plans are made and destroyed under this lock: its planner is shared by every thread.
std::mutex& fftwPlanner();
