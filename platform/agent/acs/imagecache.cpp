#include "imagecache.h"

namespace acs::detail
{

std::shared_ptr<const Image> ImageCache::find(size_t index)
{
    const auto found = m_byIndex.find(index);
    if (found == m_byIndex.end()) return nullptr;
    m_recent.splice(m_recent.begin(), m_recent, found->second);
    return found->second->image;
}

void ImageCache::makeRoom(size_t bytes)
{
    while (!m_recent.empty() && (bytes > m_limit || m_bytes > m_limit - bytes))
        evictOldest();
}

void ImageCache::insert(size_t index, std::shared_ptr<const Image> image)
{
    const size_t size = image->indices.size();
    if (size > m_limit || m_byIndex.count(index)) return;
    makeRoom(size);
    m_recent.push_front({index, std::move(image)});
    m_byIndex.emplace(index, m_recent.begin());
    m_bytes += size;
}

void ImageCache::setLimit(size_t bytes)
{
    m_limit = bytes;
    makeRoom(0);
}

void ImageCache::evictOldest()
{
    const Entry &oldest = m_recent.back();
    m_bytes -= oldest.image->indices.size();
    m_byIndex.erase(oldest.index);
    m_recent.pop_back();
}

} // namespace acs::detail
