#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace gen {

// SplitMix64: the same seed gives the same school on every compiler and
// standard library, which std::uniform_int_distribution does not promise.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A whole number in [0, n); 0 when n is 0.
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

    // True with the given chance (0 to 1).
    bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1.0p-53 < p; }

    template <typename T> void shuffle(std::vector<T>& items)
    {
        for (int i = static_cast<int>(items.size()) - 1; i > 0; --i)
            std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(below(i + 1))]);
    }

private:
    std::uint64_t state_;
};

} // namespace gen
