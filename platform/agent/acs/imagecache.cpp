#include "imagecache.h"

namespace acs::detail
{

std::shared_ptr<const Image> ImageCache::find(size_t index)
{
    const auto found = byIndex_.find(index);
    if (found == byIndex_.end()) return nullptr;
    recent_.splice(recent_.begin(), recent_, found->second);
    return found->second->image;
}

void ImageCache::makeRoom(size_t bytes)
{
    while (!recent_.empty() && (bytes > limit_ || bytes_ > limit_ - bytes))
        evictOldest();
}

void ImageCache::insert(size_t index, std::shared_ptr<const Image> image)
{
    const size_t size = image->indices.size();
    if (size > limit_ || byIndex_.count(index)) return;
    makeRoom(size);
    recent_.push_front({index, std::move(image)});
    byIndex_.emplace(index, recent_.begin());
    bytes_ += size;
}

void ImageCache::setLimit(size_t bytes)
{
    limit_ = bytes;
    makeRoom(0);
}

void ImageCache::evictOldest()
{
    const Entry &oldest = recent_.back();
    bytes_ -= oldest.image->indices.size();
    byIndex_.erase(oldest.index);
    recent_.pop_back();
}

} // namespace acs::detail
