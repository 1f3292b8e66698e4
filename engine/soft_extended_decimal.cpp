// Decimal text to and from SoftExtended, exactly: a small unsigned big integer carries the
// digits, so a conversion is decided on the exact value, as the C library's are.

#include <algorithm>
#include <vector>

#include "soft_extended.h"
#include "soft_extended_parts.h"

namespace kestrin {

namespace {

using soft::U128;

class BigNumber {
public:
    explicit BigNumber(std::uint64_t value = 0) {
        for (; value != 0; value >>= 32) limbs_.push_back(static_cast<std::uint32_t>(value));
    }

    bool IsZero() const { return limbs_.empty(); }

    void MultiplyAdd(std::uint32_t factor, std::uint32_t add) {
        std::uint64_t carry = add;
        for (std::uint32_t& limb : limbs_) {
            carry += std::uint64_t(limb) * factor;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    void MultiplyByPowerOfTen(long long power) {
        for (; power >= 9; power -= 9) MultiplyAdd(1000000000u, 0);
        static constexpr std::uint32_t kSmall[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
        MultiplyAdd(kSmall[power], 0);
    }

    // Divides by `divisor`, returning the remainder.
    std::uint32_t DivideSmall(std::uint32_t divisor) {
        std::uint64_t remainder = 0;
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            const std::uint64_t current = (remainder << 32) | limbs_[i];
            limbs_[i] = static_cast<std::uint32_t>(current / divisor);
            remainder = current % divisor;
        }
        Trim();
        return static_cast<std::uint32_t>(remainder);
    }

    long long BitLength() const {
        if (limbs_.empty()) return 0;
        return static_cast<long long>(limbs_.size()) * 32 - std::countl_zero(limbs_.back());
    }

    bool Bit(long long index) const {
        const auto limb = static_cast<std::size_t>(index / 32);
        return limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1) != 0;
    }

    bool AnyBitBelow(long long index) const {
        for (long long i = 0; i < index; i += 32) {
            const auto limb = static_cast<std::size_t>(i / 32);
            if (limb >= limbs_.size()) return false;
            const std::uint32_t mask = index - i >= 32 ? 0xffffffffu : (1u << (index - i)) - 1;
            if ((limbs_[limb] & mask) != 0) return true;
        }
        return false;
    }

    BigNumber Shifted(long long bits) const {  // left for positive, right for negative
        BigNumber result;
        if (limbs_.empty()) return result;
        if (bits >= 0) {
            result.limbs_.assign(static_cast<std::size_t>(bits / 32), 0);
            const int within = static_cast<int>(bits % 32);
            std::uint32_t carry = 0;
            for (std::uint32_t limb : limbs_) {
                result.limbs_.push_back((limb << within) | carry);
                carry = within == 0 ? 0 : limb >> (32 - within);
            }
            result.limbs_.push_back(carry);
        } else {
            const long long right = -bits;
            for (long long i = right; i < BitLength(); i += 32) {
                std::uint32_t limb = 0;
                for (int b = 0; b < 32; ++b)
                    if (Bit(i + b)) limb |= 1u << b;
                result.limbs_.push_back(limb);
            }
        }
        result.Trim();
        return result;
    }

    // The top 128 bits, lower bits folded into the last one.
    U128 Top128() const {
        const long long length = BitLength();
        U128 top = 0;
        for (long long i = 0; i < 128; ++i) {
            top <<= 1;
            const long long index = length - 1 - i;
            if (index >= 0 && Bit(index)) top |= 1;
        }
        if (length > 128 && AnyBitBelow(length - 128)) top |= 1;
        return top;
    }

    friend bool operator<(const BigNumber& a, const BigNumber& b) {
        if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size();
        return std::lexicographical_compare(a.limbs_.rbegin(), a.limbs_.rend(), b.limbs_.rbegin(), b.limbs_.rend());
    }

    void Subtract(const BigNumber& b) {  // requires b <= *this
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            std::int64_t current = std::int64_t(limbs_[i]) - borrow - (i < b.limbs_.size() ? std::int64_t(b.limbs_[i]) : 0);
            borrow = current < 0 ? 1 : 0;
            if (current < 0) current += std::int64_t(1) << 32;
            limbs_[i] = static_cast<std::uint32_t>(current);
        }
        Trim();
    }

    std::string Decimal() const {
        if (limbs_.empty()) return "0";
        BigNumber rest = *this;
        std::string digits;
        while (!rest.IsZero()) {
            std::uint32_t chunk = rest.DivideSmall(1000000000u);
            for (int i = 0; i < 9; ++i, chunk /= 10) digits += static_cast<char>('0' + chunk % 10);
        }
        while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
        return {digits.rbegin(), digits.rend()};
    }

private:
    void Trim() {
        while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    }

    std::vector<std::uint32_t> limbs_;
};

// The midpoint between two subnormals has up to about 11,500 significant digits; digits
// beyond these only ever matter as "something non-zero follows".
constexpr std::size_t kKeptDigits = 12000;
// Beyond these decimal magnitudes every value overflows or underflows to zero.
constexpr long long kOverflowMagnitude = 4933;
constexpr long long kUnderflowMagnitude = -4952;

long long SaturatingExponent(std::string_view digits, bool negative) {
    long long value = 0;
    for (char c : digits) value = std::min(value * 10 + (c - '0'), 100000000LL);
    return negative ? -value : value;
}

}  // namespace

std::optional<SoftExtended> SoftExtended::FromDecimal(std::string_view text) {
    std::string digits;
    long long exponent = 0;
    bool afterPoint = false, discardedNonZero = false;
    std::size_t pos = 0;
    for (; pos < text.size() && text[pos] != 'e' && text[pos] != 'E'; ++pos) {
        const char c = text[pos];
        if (c == '.') {
            afterPoint = true;
        } else if (digits.empty() && c == '0') {
            if (afterPoint) --exponent;
        } else if (digits.size() < kKeptDigits) {
            digits += c;
            if (afterPoint) --exponent;
        } else {
            discardedNonZero = discardedNonZero || c != '0';
            if (!afterPoint) ++exponent;
        }
    }
    if (pos < text.size()) {
        std::string_view written = text.substr(pos + 1);
        const bool negative = !written.empty() && written.front() == '-';
        if (!written.empty() && (written.front() == '-' || written.front() == '+')) written.remove_prefix(1);
        exponent += SaturatingExponent(written, negative);
    }
    if (digits.empty()) return SoftExtended(0);
    if (discardedNonZero) {
        digits += '1';
        --exponent;
    }
    const long long magnitude = static_cast<long long>(digits.size()) + exponent;
    if (magnitude > kOverflowMagnitude || magnitude < kUnderflowMagnitude) return std::nullopt;
    BigNumber number;
    for (char c : digits) number.MultiplyAdd(10, static_cast<std::uint32_t>(c - '0'));
    SoftExtended result;
    if (exponent >= 0) {
        number.MultiplyByPowerOfTen(exponent);
        result = soft::RoundToExtended(false, static_cast<int>(number.BitLength() - 1), number.Top128());
    } else {
        BigNumber divisor(1);
        divisor.MultiplyByPowerOfTen(-exponent);
        // A quotient of 127 or 128 bits: number * 2^shift / divisor.
        const long long shift = 127 + divisor.BitLength() - number.BitLength();
        BigNumber remainder = number.Shifted(std::max(shift, 0LL));
        const BigNumber scaledDivisor = divisor.Shifted(std::max(-shift, 0LL));
        U128 quotient = 0;
        for (int bit = 127; bit >= 0; --bit) {
            const BigNumber part = scaledDivisor.Shifted(bit);
            if (!(remainder < part)) {
                remainder.Subtract(part);
                quotient |= U128(1) << bit;
            }
        }
        if (!remainder.IsZero()) quotient |= 1;
        result = soft::NormaliseAndRound(false, static_cast<int>(127 - shift), quotient);
    }
    // Beyond the range, or below the normal range (where the value has lost precision), the
    // C library reports a range error; so does this.
    if (!result.IsFinite() || (result.SignExponent() & 0x7fff) == 0) return std::nullopt;
    return result;
}

std::string SoftExtended::FixedDecimal(int decimals) const {
    if (IsNaN()) return "nan";
    if (!IsFinite()) return IsNegative() ? "-inf" : "inf";
    const std::string sign = IsNegative() ? "-" : "";
    std::string digits;
    if (*this == 0) {
        digits = "0";
    } else {
        const soft::Unpacked u = soft::Unpack(*this);
        BigNumber number(u.significand);
        const long long fractionBits = 63 - u.exponent;
        number.MultiplyByPowerOfTen(decimals);
        if (fractionBits <= 0) {
            number = number.Shifted(-fractionBits);
        } else {
            const bool aboveHalf = number.Bit(fractionBits - 1) && number.AnyBitBelow(fractionBits - 1);
            const bool half = number.Bit(fractionBits - 1) && !aboveHalf;
            number = number.Shifted(-fractionBits);
            if (aboveHalf || (half && number.Bit(0))) number.MultiplyAdd(1, 1);
        }
        digits = number.Decimal();
    }
    if (decimals == 0) return sign + digits;
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    return sign + digits.substr(0, digits.size() - decimals) + "." + digits.substr(digits.size() - decimals);
}

}  // namespace kestrin
