// The Howell sector of tests/data/sectors/howell.inf (4 tables, pairs 21..28, 7 board sets) as the
// description and howell.bmt state it.
#pragma once

#include <utility>
#include <vector>

namespace kibic::test {

// The meetings in pair numbers (NS, EW), rows in the order of the description.
inline const std::vector<std::vector<std::pair<int, int>>> kHowellPairs = {
    { { 28, 21 }, { 25, 27 }, { 23, 24 }, { 22, 26 } },
    { { 23, 27 }, { 28, 22 }, { 26, 21 }, { 24, 25 } },
    { { 25, 26 }, { 24, 21 }, { 28, 23 }, { 27, 22 } },
    { { 26, 27 }, { 25, 22 }, { 28, 24 }, { 21, 23 } },
    { { 22, 24 }, { 27, 21 }, { 26, 23 }, { 28, 25 } },
    { { 23, 25 }, { 21, 22 }, { 27, 24 }, { 28, 26 } },
    { { 24, 26 }, { 22, 23 }, { 21, 25 }, { 28, 27 } },
};

// Where and when the Howell plays each meeting: (Table, Round).
inline const std::vector<std::vector<std::pair<int, int>>> kHowellMovement = {
    { { 1, 1 }, { 4, 4 }, { 3, 6 }, { 2, 7 } },
    { { 2, 1 }, { 1, 2 }, { 4, 5 }, { 3, 7 } },
    { { 3, 1 }, { 2, 2 }, { 1, 3 }, { 4, 6 } },
    { { 3, 2 }, { 2, 3 }, { 1, 4 }, { 4, 7 } },
    { { 4, 1 }, { 3, 3 }, { 2, 4 }, { 1, 5 } },
    { { 4, 2 }, { 3, 4 }, { 2, 5 }, { 1, 6 } },
    { { 4, 3 }, { 3, 5 }, { 2, 6 }, { 1, 7 } },
};

} // namespace kibic::test
