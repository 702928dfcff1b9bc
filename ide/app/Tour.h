// The tour: every tool of the add-in's "Vesk" menu run in the IDE as a user would, with
// a picture of the IDE (and of the tool's window while it is up) after each step.
#pragma once

#include "platform/registry/Registry.h"

#include <memory>
#include <ostream>
#include <string>

namespace vesk {

class TIdeWindow;

// The sample project the tour opens when none is named.
std::string TourDefaultProject();

// What the tour works on: a copy of the project's folder in Folder/project, so that the
// tools' changes and the saves never touch the original, and a settings store of its
// own (Folder/registry.reg) whose library path names that copy. Raises EInOutError when
// the folder or the copy cannot be made.
struct TTourSetup {
    std::string Project; // the copied project file
    std::shared_ptr<TRegistryFile> Store;
};
TTourSetup PrepareTour(const std::string& folder, const std::string& project);

// Runs the tour on the window (its project open), writing PNG pictures into Folder and
// their paths to Out, one a line; what went wrong goes to Err. 0 when every step ran.
int RunTour(TIdeWindow& window, const std::string& folder, std::ostream& out, std::ostream& err);

} // namespace vesk
