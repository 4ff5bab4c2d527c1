// The distance terms of the movement penalty over a packed row of admissible
// cells: P[n] := P[n] + ((c * dNew) / D) [* post], dNew the distance from
// (X[n], Y[n]) to (tx, ty), whole cells within 2048 of the battlefield, with
// every product, quotient and sum rounded to single precision on its own.
// Ties between cells are exact equality, so the forms below, which differ
// only in how many cells they take at once, must agree to the bit.
#pragma once

namespace brevimar {

// Four cells at a time: the arrays hold `count` rounded up to a multiple of
// four, 16-byte aligned.
void AddPenaltyTermsFourLanes(const float* X, const float* Y, float* P, int count, float tx, float ty, float c,
                              float D, float post, bool scaled);

// Eight cells at a time (arrays of `count` rounded up to a multiple of eight,
// 32-byte aligned) where the processor has AVX; false, with P unchanged,
// where it or the build has no such form.
bool AddPenaltyTermsEightLanes(const float* X, const float* Y, float* P, int count, float tx, float ty, float c,
                               float D, float post, bool scaled);

}  // namespace brevimar
