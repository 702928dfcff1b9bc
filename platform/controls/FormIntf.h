// What the add-in's engines need of a window and of an edit box, whatever shows them:
// a window's component name and outer bounds (each read and set on its own) and
// closing it; an edit box's text and selection. Qt adapters live in platform/qt.
#pragma once

#include <string>
#include <utility>

namespace vesk {

// A window whose place is kept: its component name and its outer bounds, frame
// included, in screen pixels.
class IFormBounds {
public:
    virtual ~IFormBounds() = default;
    virtual std::string Name() const = 0;
    virtual int Top() const = 0;
    virtual int Left() const = 0;
    virtual int Height() const = 0;
    virtual int Width() const = 0;
    virtual void SetTop(int value) = 0;
    virtual void SetLeft(int value) = 0;
    virtual void SetHeight(int value) = 0;
    virtual void SetWidth(int value) = 0;
};

// A dialog window: its bounds, and closing it (a modal one then ends).
class IFormWindow : public IFormBounds {
public:
    virtual void Close() = 0;
};

// A window that is not shown: its bounds as plain values, and how often it was closed.
class TWindowBounds : public IFormWindow {
public:
    explicit TWindowBounds(std::string name, int top = 0, int left = 0, int height = 0,
                           int width = 0)
        : FName(std::move(name)), FTop(top), FLeft(left), FHeight(height), FWidth(width) {}
    std::string Name() const override { return FName; }
    int Top() const override { return FTop; }
    int Left() const override { return FLeft; }
    int Height() const override { return FHeight; }
    int Width() const override { return FWidth; }
    void SetTop(int value) override { FTop = value; }
    void SetLeft(int value) override { FLeft = value; }
    void SetHeight(int value) override { FHeight = value; }
    void SetWidth(int value) override { FWidth = value; }
    void Close() override { ++FCloseCount; }
    int CloseCount() const { return FCloseCount; }

private:
    std::string FName;
    int FTop, FLeft, FHeight, FWidth;
    int FCloseCount = 0;
};

// A single-line edit box: its text, and the selection as a 0-based start and a length,
// counted in bytes of the text. Setting the start removes the selection.
class IEditBox {
public:
    virtual ~IEditBox() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    virtual int SelStart() const = 0;
    virtual void SetSelStart(int value) = 0;
    virtual int SelLength() const = 0;
    virtual void SetSelLength(int value) = 0;
};

} // namespace vesk
