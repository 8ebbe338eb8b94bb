// Decoded images kept for reuse, bounded in bytes, least recently used
// evicted first. Not thread-safe on its own: the character guards it.
#pragma once

#include "acs.h"

#include <list>
#include <unordered_map>

namespace acs::detail
{

class ImageCache
{
  public:
    explicit ImageCache(size_t limit) : m_limit(limit) {}

    // The cached image, now the most recently used; null when not cached.
    std::shared_ptr<const Image> find(size_t index);
    // Evicts until `bytes` more fit under the limit (or nothing is left).
    void makeRoom(size_t bytes);
    // Keeps the image unless it alone is over the limit.
    void insert(size_t index, std::shared_ptr<const Image> image);

    void setLimit(size_t bytes);
    size_t limit() const { return m_limit; }
    size_t bytes() const { return m_bytes; }

  private:
    struct Entry {
        size_t index;
        std::shared_ptr<const Image> image;
    };
    void evictOldest();

    std::list<Entry> m_recent; // most recently used first
    std::unordered_map<size_t, std::list<Entry>::iterator> m_byIndex;
    size_t m_limit;
    size_t m_bytes = 0;
};

} // namespace acs::detail
