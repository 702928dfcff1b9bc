#include "platform/qt/ImageList.h"

namespace vesk {

void TImageList::SetSize(int width, int height) {
    if (width == FWidth && height == FHeight)
        return;
    FWidth = std::max(1, width);
    FHeight = std::max(1, height);
    FImages.clear();
    emit Changed();
}

int TImageList::Add(const QPixmap& image) {
    FImages.push_back(
        image.size() == QSize(FWidth, FHeight)
            ? image
            : image.scaled(FWidth, FHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    emit Changed();
    return Count() - 1;
}

QIcon TImageList::Icon(int index) const {
    if (index < 0 || index >= Count())
        return {};
    return QIcon(FImages[static_cast<std::size_t>(index)]);
}

} // namespace vesk
