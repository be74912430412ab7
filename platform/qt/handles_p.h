// The records behind handles that the editor may make before the application object exists
// (fonts, menus). They live as long as the process, so a handle is never a dangling pointer,
// and a value that is not one of ours is recognised as such.
#pragma once

#include <memory>
#include <unordered_set>
#include <vector>

namespace platform {

template <typename Record> class HandleRegistry {
public:
    Record* add(std::unique_ptr<Record> record)
    {
        Record* handle = record.get();
        known_.insert(handle);
        records_.push_back(std::move(record));
        return handle;
    }

    // Records are never removed, so the handle last found stays known: a control's messages, one
    // after another for each line of a save, skip the hash.
    bool contains(const Record* handle) const
    {
        if (handle == lastFound_)
            return true;
        if (known_.count(handle) == 0)
            return false;
        lastFound_ = handle;
        return true;
    }
    const std::vector<std::unique_ptr<Record>>& all() const { return records_; }

private:
    std::vector<std::unique_ptr<Record>> records_;
    std::unordered_set<const Record*> known_;
    mutable const Record* lastFound_ = nullptr;
};

} // namespace platform
