// The host's image list: pictures of one size, by index, for the tree view's nodes.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPixmap>

#include <vector>

namespace vesk {

class TImageList : public QObject {
    Q_OBJECT

public:
    explicit TImageList(QObject* owner = nullptr) : QObject(owner) {}

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size empties the list, as the host's does.
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(FImages.size()); }
    // Appends the picture scaled to the list's size; returns its index.
    int Add(const QPixmap& image);
    // The picture at Index; a null icon outside the list.
    QIcon Icon(int index) const;

signals:
    void Changed();

private:
    int FWidth = 16;
    int FHeight = 16;
    std::vector<QPixmap> FImages;
};

} // namespace vesk
