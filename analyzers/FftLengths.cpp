#include "analyzers/FftLengths.h"

#include <algorithm>

const std::vector<int>& validFftLengths()
{
    static const std::vector<int> lengths = [] {
        std::vector<int> all;
        for (int p2 : {1, 2, 4, 8, 16})
            for (int p3 : {1, 3, 9})
                for (int p5 : {1, 5})
                    for (int p7 : {1, 7})
                        for (int p11 : {1, 11})
                            for (int p13 : {1, 13})
                                all.push_back(p2 * p3 * p5 * p7 * p11 * p13);
        std::sort(all.begin(), all.end());
        return all;
    }();
    return lengths;
}

int evenFftLength(int windowLength)
{
    const auto& lengths = validFftLengths();
    auto it = std::lower_bound(lengths.begin(), lengths.end(), windowLength);
    while (it != lengths.end() && *it % 2 != 0)
        ++it;
    return it == lengths.end() ? 0 : *it;
}

std::mutex& fftwPlanner()
{
    static std::mutex planner;
    return planner;
}
