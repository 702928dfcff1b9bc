// The package Vesk: its entry calls the Register procedure of every unit, with the
// package current, so that unloading it undoes every registration.
#pragma once

namespace vesk {

constexpr const char* VeskPackageName = "Vesk";
constexpr const char* VeskPackageDescription = "Vesk Components";

// Registers the library's components on the palette page "Vesk" and the tree view's
// field-name editors. Registering again after an unregister works.
void RegisterVeskPackage();
// Removes the package's classes, palette entries and property editors.
void UnregisterVeskPackage();

} // namespace vesk
