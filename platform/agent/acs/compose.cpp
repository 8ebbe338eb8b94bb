// Frame composition: palette images onto a 32-bit canvas of the frame size.
#include "characterdata.h"

#include <algorithm>

namespace acs
{
namespace
{

struct Placement {
    uint32_t image;
    int x;
    int y;
};

// Bottom-most first, the order they are painted in.
std::vector<Placement> paintOrder(const Frame &frame, const Overlay *overlay)
{
    std::vector<Placement> order;
    order.reserve(frame.images.size() + 1);
    for (auto it = frame.images.rbegin(); it != frame.images.rend(); ++it)
        order.push_back({it->image, it->x, it->y});
    if (overlay) {
        const Placement mouth{overlay->image, overlay->x, overlay->y};
        if (overlay->replacesTopImage && !order.empty())
            order.back() = mouth;
        else
            order.push_back(mouth);
    }
    return order;
}

void paint(FrameImage &canvas, const Image &image, int x, int y, uint8_t transparent,
           const std::array<uint32_t, 256> &argb)
{
    const int firstRow = std::max(0, -y);
    const int lastRow = std::min(int(image.height), canvas.height - y);
    const int firstColumn = std::max(0, -x);
    const int lastColumn = std::min(int(image.width), canvas.width - x);
    for (int j = firstRow; j < lastRow; ++j) {
        const uint8_t *source = image.row(j);
        uint32_t *target = canvas.pixels.data() + size_t(y + j) * size_t(canvas.width) + x;
        for (int i = firstColumn; i < lastColumn; ++i) {
            const uint8_t index = source[i];
            if (index != transparent) target[i] = argb[index];
        }
    }
}

} // namespace

Result<FrameImage> Character::composeFrame(const Frame &frame, const Overlay *overlay) const
{
    FrameImage canvas;
    canvas.width = data_->frameSize.width;
    canvas.height = data_->frameSize.height;
    canvas.pixels.assign(size_t(canvas.width) * size_t(canvas.height), 0);
    for (const auto &placement : paintOrder(frame, overlay)) {
        auto decoded = image(placement.image);
        if (!decoded) return decoded.error();
        paint(canvas, **decoded, placement.x, placement.y, data_->transparentIndex, data_->argbByIndex);
    }
    return canvas;
}

} // namespace acs
