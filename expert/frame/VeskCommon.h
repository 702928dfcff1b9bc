// What the add-in's tool windows share: their place on the screen kept in the
// registry from one run to the next, and a key filter that types one character into
// an edit box exactly as the user would.
#pragma once

#include <memory>
#include <string>
#include <utility>

namespace vesk {

class TRegistryFile;

// The root key of the add-in's settings under HKEY_CURRENT_USER.
inline constexpr const char* VeskRegistryRoot = "Software\\Borland\\Delphi\\Makory";

// A window whose place is kept: its component name and its outer bounds, each read
// and set on its own.
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

// Bounds held as plain values: a window that is not shown, or a stand-in for one.
class TWindowBounds : public IFormBounds {
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

private:
    std::string FName;
    int FTop, FLeft, FHeight, FWidth;
};

// A single-line edit box: its text, and the selection as a 0-based start and a length.
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

// The stored value "Top Left Height Width" (or "Top Left") under Key, named after the
// window + "FormPlacement", in Store (none: the default store file). A missing value
// changes nothing; a malformed one raises EConvertError after the numbers before it have
// been applied. A write inside an update of the same store joins it.
void ReadFormPlacement(IFormBounds& form, const std::string& key,
                       const std::shared_ptr<TRegistryFile>& store = nullptr);
void WriteFormPlacement(const IFormBounds& form, const std::string& key,
                        const std::shared_ptr<TRegistryFile>& store = nullptr);
void ReadFormPosition(IFormBounds& form, const std::string& key,
                      const std::shared_ptr<TRegistryFile>& store = nullptr);
void WriteFormPosition(const IFormBounds& form, const std::string& key,
                       const std::shared_ptr<TRegistryFile>& store = nullptr);

// Applies one typed character (8 is backspace) to the edit's text and selection.
void edKeyChar(char key, IEditBox& edit);

} // namespace vesk
