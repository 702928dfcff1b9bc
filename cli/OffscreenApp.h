// The application object the drawing commands need for widgets: always on the
// offscreen platform, so that nothing shows and placing the pointer never moves a
// real one. Qt's own notes (no runtime directory, font substitutions) are not the
// user's business; its errors reach them as one line with the command's name.
#pragma once

#include <QApplication>

#include <memory>

namespace vesk::cli {

// A new application, or none when one exists already; the caller holds it until its
// widgets are gone.
std::unique_ptr<QApplication> EnsureApplication(const char* command);

} // namespace vesk::cli
