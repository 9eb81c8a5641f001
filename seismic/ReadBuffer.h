#pragma once

#include <cstddef>
#include <memory>
#include <new>

// Room for items that are read into before they are read from: unlike a std::vector it does not
// zero what it makes room for, which for a window of a file or a trace costs more than reading it.
template <typename T> class ReadBuffer {
public:
    // Room for at least count items; what it held before is not kept. False when memory ran out.
    [[nodiscard]] bool reserve(size_t count)
    {
        if (count <= size_)
            return true;
        items_.reset(new (std::nothrow) T[count]);
        size_ = items_ ? count : 0;
        return items_ != nullptr;
    }

    T* data() const { return items_.get(); }
    size_t size() const { return size_; }

private:
    std::unique_ptr<T[]> items_;
    size_t size_ = 0;
};
