#pragma once
// A handle onto a block of elements, shared by reference count, that knows whether it owns the
// memory and whether to free it as an array.
#include <cstddef>
#include <string>

#include "support/cp932_literal.h"
#include "support/exceptions.h"

namespace support {

template <typename T>
class COwningBuffer {
public:
    COwningBuffer() = default;
    COwningBuffer(const COwningBuffer& other) : data_(other.data_), offset_(other.offset_), block_(other.block_) {
        if (block_) ++block_->references;
    }
    COwningBuffer& operator=(const COwningBuffer& other) {
        if (this != &other) {
            COwningBuffer copy(other);
            swap(copy);
        }
        return *this;
    }
    ~COwningBuffer() { drop(); }

    // Takes `data` with a fresh count of 1. A disposer makes sense only for owned data.
    void Reset(T* data, std::size_t count, bool owned, bool isArray, const void* disposer = nullptr) {
        if (!owned && disposer)
            throw CSyntaxException(std::string(SJ("所有権が無いのに解体オブジェクトが指定されている")));
        drop();
        if (!data) return;
        data_ = data;
        offset_ = 0;
        block_ = new Block{1, owned, isArray, count, sizeof(T), disposal(owned, isArray)};
    }

    // A fresh owned array of n default-initialised elements (not zeroed: the copy's 1 MiB buffer
    // is filled by reads anyway); n == 0 empties the handle.
    void Resize(std::size_t n) {
        if (n == 0) {
            drop();
            return;
        }
        Reset(new T[n], n, true, true);
    }

    T& operator[](std::size_t index) const {
        if (!block_ || offset_ + index >= block_->count) throw CIndexOutOfBoundsException();
        return data_[offset_ + index];
    }
    T& operator*() const {
        if (!data_) throw CNullPointerException();
        return data_[offset_];
    }
    T* Get() const { return data_ ? data_ + offset_ : nullptr; }
    std::size_t Count() const { return block_ ? block_->count - offset_ : 0; }
    long References() const { return block_ ? block_->references : 0; }

private:
    struct Block {
        long references;
        bool owned;
        bool isArray;
        std::size_t count;
        std::size_t elementSize;
        void (*dispose)(T*);  // chosen once from the two flags; null when not owned
    };

    static void (*disposal(bool owned, bool isArray))(T*) {
        if (!owned) return nullptr;
        if (isArray) return [](T* p) { delete[] p; };
        return [](T* p) { delete p; };
    }

    void swap(COwningBuffer& other) {
        std::swap(data_, other.data_);
        std::swap(offset_, other.offset_);
        std::swap(block_, other.block_);
    }

    void drop() {
        if (block_ && --block_->references == 0) {
            if (block_->dispose) block_->dispose(data_);
            delete block_;
        }
        data_ = nullptr;
        offset_ = 0;
        block_ = nullptr;
    }

    T* data_ = nullptr;
    std::size_t offset_ = 0;
    Block* block_ = nullptr;
};

}  // namespace support
