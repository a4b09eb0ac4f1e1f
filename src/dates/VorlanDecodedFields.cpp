#include "dates/VorlanDecodedFields.h"

#include "dates/Error.h"

namespace kalendo {

namespace {

[[noreturn]] void ThrowIndexError(int index) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

} // namespace

TVorlanDecodeDateDecodedFieldsCollection::TVorlanDecodeDateDecodedFieldsCollection(
    const TVorlanDecodeDateDecodedFieldsCollection& source)
    : items_(source.items_) {}

TVorlanDecodeDateDecodedFieldsCollection&
TVorlanDecodeDateDecodedFieldsCollection::operator=(const TVorlanDecodeDateDecodedFieldsCollection& source) {
    if (&source != this) Assign(source);
    return *this;
}

TVorlanDecodeDateDecodedFields& TVorlanDecodeDateDecodedFieldsCollection::Add() {
    items_.emplace_back();
    Changed();
    return items_.back();
}

TVorlanDecodeDateDecodedFields& TVorlanDecodeDateDecodedFieldsCollection::AddField(
    std::string item, TVorlanDecodeDateDecodedFieldsFoundFlags flags, std::int32_t extra) {
    TVorlanDecodeDateDecodedFields& field = items_.emplace_back();
    field.FoundFlags = flags;
    field.Item = std::move(item);
    field.Extra = extra;
    Changed();
    return field;
}

void TVorlanDecodeDateDecodedFieldsCollection::Delete(int index) {
    if (index < 0 || index >= Count()) ThrowIndexError(index);
    items_.erase(items_.begin() + index);
    Changed();
}

void TVorlanDecodeDateDecodedFieldsCollection::DeleteSorted(const std::vector<int>& indexes) {
    if (indexes.empty()) return;
    for (std::size_t k = 0; k < indexes.size(); ++k) {
        if (indexes[k] < 0 || indexes[k] >= Count()) ThrowIndexError(indexes[k]);
        if (k > 0 && indexes[k] <= indexes[k - 1]) ThrowIndexError(indexes[k]);
    }
    auto kept = static_cast<std::size_t>(indexes.front());
    std::size_t next = 0;
    for (std::size_t i = kept; i < items_.size(); ++i) {
        if (next < indexes.size() && i == static_cast<std::size_t>(indexes[next])) {
            ++next;
            continue;
        }
        items_[kept++] = std::move(items_[i]);
    }
    items_.resize(kept);
    Changed();
}

void TVorlanDecodeDateDecodedFieldsCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    items_.clear();
    EndUpdate();
}

void TVorlanDecodeDateDecodedFieldsCollection::Assign(
    const TVorlanDecodeDateDecodedFieldsCollection& source) {
    if (&source == this) return;
    BeginUpdate();
    items_ = source.items_;
    EndUpdate();
}

const TVorlanDecodeDateDecodedFields& TVorlanDecodeDateDecodedFieldsCollection::Items(int index) const {
    if (index < 0 || index >= Count()) ThrowIndexError(index);
    return items_[static_cast<std::size_t>(index)];
}

TVorlanDecodeDateDecodedFields& TVorlanDecodeDateDecodedFieldsCollection::Items(int index) {
    if (index < 0 || index >= Count()) ThrowIndexError(index);
    return items_[static_cast<std::size_t>(index)];
}

void TVorlanDecodeDateDecodedFieldsCollection::EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
    Changed();
}

void TVorlanDecodeDateDecodedFieldsCollection::Changed() {
    if (updateCount_ == 0 && onChange_) onChange_();
}

} // namespace kalendo
