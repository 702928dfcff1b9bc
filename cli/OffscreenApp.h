// The application object the drawing commands need for widgets: always on the
// offscreen platform, so that nothing shows and placing the pointer never moves a
// real one. Qt's own notes (no runtime directory, font substitutions) are not the
// user's business; its errors reach them as one line with the command's name.
#pragma once

#include <QApplication>
#include <QImage>

#include <memory>
#include <string>

namespace vesk::cli {

// A new application, or none when one exists already; the caller holds it until its
// widgets are gone.
std::unique_ptr<QApplication> EnsureApplication(const char* command);

// Writes IMAGE as a PNG to PATH: encoded in memory, then replacing the file whole, so a
// failed write leaves an existing picture as it was and the name reaches the file
// system byte for byte. CommandError when it cannot be encoded; the file replacement's
// error when it cannot be written.
void WritePng(const QImage& image, const std::string& path);

} // namespace vesk::cli
