#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace kalendo {

class TVorlanDecodeDate;

// The class of one decoded word. The values are bit positions of a field's flag set.
enum TVorlanDecodeDateDecodedFieldsFoundFlag : int {
    dfoNone = 0,
    dfoNumber = 1,
    dfoWordNumber = 2,
    dfoDay = 3,
    dfoWeek = 4,
    dfoMonth = 5,
    dfoYear = 6,
    dfoYesterday = 7,
    dfoToday = 8,
    dfoNow = 9,
    dfoTomorrow = 10,
    dfoAfter = 11,
    dfoBefore = 12,
    dfoDayName = 13,
    dfoMonthName = 14,
    dfoNext = 15,
    dfoPrev = 16,
    dfoLast = 17,
    dfoStart = 18,
    dfoEnd = 19,
    dfoAt = 20,
    dfoTime = 21,
    dfoAM = 22,
    dfoPM = 23,
    dfoSeperator = 24,
};

// Words found anywhere in a decoded text. ddTime exists for completeness; nothing sets it.
enum TVorlanDecodeDateFoundFlag : int {
    ddNone = 0,
    ddTime = 1,
    ddNow = 2,
    ddToday = 3,
    ddTomorrow = 4,
    ddYesterday = 5,
    ddDays = 6,
    ddMonths = 7,
    ddYears = 8,
    ddWeeks = 9,
    ddStart = 10,
    ddEnd = 11,
    ddAfter = 12,
    ddBefore = 13,
    ddFirst = 14,
    ddLast = 15,
    ddNext = 16,
    ddPrev = 17,
};

// A set of enumeration values held in 32 bits, bit n for value n.
template <typename Flag> class FlagSet {
public:
    constexpr FlagSet() = default;
    constexpr FlagSet(std::initializer_list<Flag> flags) {
        for (const Flag flag : flags)
            Include(flag);
    }

    static constexpr FlagSet FromBits(std::uint32_t bits) {
        FlagSet set;
        set.bits_ = bits;
        return set;
    }

    constexpr bool Contains(Flag flag) const { return ((bits_ >> static_cast<unsigned>(flag)) & 1U) != 0; }
    constexpr bool ContainsAny(FlagSet other) const { return (bits_ & other.bits_) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint32_t Bits() const { return bits_; }

    constexpr FlagSet& Include(Flag flag) {
        bits_ |= 1U << static_cast<unsigned>(flag);
        return *this;
    }
    constexpr FlagSet& Exclude(Flag flag) {
        bits_ &= ~(1U << static_cast<unsigned>(flag));
        return *this;
    }

    friend constexpr bool operator==(FlagSet, FlagSet) = default;

private:
    std::uint32_t bits_ = 0;
};

using TVorlanDecodeDateDecodedFieldsFoundFlags = FlagSet<TVorlanDecodeDateDecodedFieldsFoundFlag>;
using TVorlanDecodeDateFoundFlags = FlagSet<TVorlanDecodeDateFoundFlag>;

// One decoded word: its classes, its upper-case text and its value (a number, a weekday 1 = Sunday
// to 7, or a month 1 to 12).
struct TVorlanDecodeDateDecodedFields {
    TVorlanDecodeDateDecodedFieldsFoundFlags FoundFlags;
    std::string Item;
    std::int32_t Extra = 0;
    bool Used = false; // consumed by the resolution

    bool IsNumber() const { return FoundFlags.Contains(dfoNumber); }
    friend bool operator==(const TVorlanDecodeDateDecodedFields&,
                           const TVorlanDecodeDateDecodedFields&) = default;
};

// The decoder's fields in word order. Deleting a field moves the ones after it down by one.
// A change listener hears of every change made outside a BeginUpdate/EndUpdate pair, and of a
// batch once when the outermost pair closes.
class TVorlanDecodeDateDecodedFieldsCollection {
public:
    explicit TVorlanDecodeDateDecodedFieldsCollection(const TVorlanDecodeDate* owner = nullptr)
        : owner_(owner) {}
    // Copies the items only; owner and listener stay with their collection.
    TVorlanDecodeDateDecodedFieldsCollection(const TVorlanDecodeDateDecodedFieldsCollection& source);
    TVorlanDecodeDateDecodedFieldsCollection&
    operator=(const TVorlanDecodeDateDecodedFieldsCollection& source);

    const TVorlanDecodeDate* Owner() const { return owner_; }

    TVorlanDecodeDateDecodedFields& Add();
    TVorlanDecodeDateDecodedFields& AddField(std::string item, TVorlanDecodeDateDecodedFieldsFoundFlags flags,
                                             std::int32_t extra);
    // index 0..Count()-1; throws Error("List index out of bounds (n)") otherwise.
    void Delete(int index);
    // Deletes the fields at the given indexes (ascending, each once) in one pass and one change.
    void DeleteSorted(const std::vector<int>& indexes);
    void Clear();
    void Assign(const TVorlanDecodeDateDecodedFieldsCollection& source);
    void Reserve(int count) { items_.reserve(static_cast<std::size_t>(count)); }

    int Count() const { return static_cast<int>(items_.size()); }
    // Checked access: throws Error("List index out of bounds (n)").
    const TVorlanDecodeDateDecodedFields& Items(int index) const;
    TVorlanDecodeDateDecodedFields& Items(int index);
    // Unchecked access for callers that have checked the index.
    const TVorlanDecodeDateDecodedFields& operator[](int index) const {
        return items_[static_cast<std::size_t>(index)];
    }
    TVorlanDecodeDateDecodedFields& operator[](int index) { return items_[static_cast<std::size_t>(index)]; }

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void SetOnChange(std::function<void()> listener) { onChange_ = std::move(listener); }

private:
    void Changed();

    const TVorlanDecodeDate* owner_ = nullptr;
    std::vector<TVorlanDecodeDateDecodedFields> items_;
    int updateCount_ = 0;
    std::function<void()> onChange_;
};

} // namespace kalendo
