// CArray<T, ArgType>: the growable array of the family's code, over
// std::vector. ArgType is how elements are passed in (const T& unless the
// family's code says otherwise), so that CArray<CString, const CString&>
// and CArray<CString> name the same array. Indexes are int; an index
// outside the array throws std::out_of_range, as the framework raised its
// invalid-argument exception.
#pragma once

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "qx/platform/base/checked_length.h"

template <typename T, typename ArgType = const T&>
class CArray {
public:
    int GetSize() const { return qx::CheckedLength<int>(v_.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return v_.empty(); }

    void SetSize(int size) { v_.resize(static_cast<size_t>(std::max(size, 0))); }
    void RemoveAll() { v_.clear(); }

    T& GetAt(int i) { return v_.at(Index(i)); }
    const T& GetAt(int i) const { return v_.at(Index(i)); }
    T& ElementAt(int i) { return GetAt(i); }
    T& operator[](int i) { return GetAt(i); }
    const T& operator[](int i) const { return GetAt(i); }
    void SetAt(int i, ArgType value) { GetAt(i) = value; }
    // Grows the array when *i* is past its end.
    void SetAtGrow(int i, ArgType value) {
        if (i >= GetSize()) SetSize(i + 1);
        GetAt(i) = value;
    }

    int Add(ArgType value) {
        v_.push_back(value);
        return GetSize() - 1;
    }
    int Append(const CArray& other) {
        int first = GetSize();
        v_.insert(v_.end(), other.v_.begin(), other.v_.end());
        return first;
    }
    void Copy(const CArray& other) { v_ = other.v_; }
    void InsertAt(int i, ArgType value, int count = 1) {
        if (i < 0 || i > GetSize()) throw std::out_of_range("CArray::InsertAt");
        v_.insert(v_.begin() + i, static_cast<size_t>(std::max(count, 0)), value);
    }
    void RemoveAt(int i, int count = 1) {
        if (count < 0 || i < 0 || i + count > GetSize()) throw std::out_of_range("CArray::RemoveAt");
        v_.erase(v_.begin() + i, v_.begin() + i + count);
    }

    T* GetData() { return v_.data(); }
    const T* GetData() const { return v_.data(); }
    auto begin() { return v_.begin(); }
    auto end() { return v_.end(); }
    auto begin() const { return v_.begin(); }
    auto end() const { return v_.end(); }

private:
    static size_t Index(int i) { return i < 0 ? static_cast<size_t>(-1) : static_cast<size_t>(i); }
    std::vector<T> v_;
};

class CString;
using CStringArray = CArray<CString>;
