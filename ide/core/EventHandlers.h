// Event handlers in a form's unit: the parameter list of an event type, and a new
// handler's declaration in the form class with its empty body in the implementation.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

// The parameters of a handler of the event type ("(Sender: TObject)" for
// TNotifyEvent); none for a type whose parameters are not known here.
std::optional<std::string> EventParameters(const std::string& eventType);

// The types a parameter list passes, one a parameter, with how it is passed:
// "(Sender, Source: TObject; var Accept: Boolean)" gives "TObject", "TObject",
// "var Boolean". The names do not count, nor does case.
std::vector<std::string> ParameterTypes(const std::string& parameters);

// The methods the form class of a unit declares, in their order; with an event type,
// only the procedures that can handle it (the parameters it passes, of those types):
// the handlers the event may name. Empty when the unit has no such class.
std::vector<std::string> FormClassMethods(const std::string& unitText, const std::string& className,
                                          const std::string& eventType = {});

struct THandlerPlace {
    std::string Text;     // the unit with the handler
    std::size_t Body = 0; // where the editor goes: the empty line of its body
    bool Added = false;   // false: the handler was there already
};

// Adds "procedure Handler<parameters>;" to the first section of ClassName's
// declaration and its empty body before the unit's final "end.", in the unit's line
// ends; a handler already implemented is only found. None when the unit has no such
// class or no final "end.", or the event type's parameters are not known.
std::optional<THandlerPlace> AddEventHandler(const std::string& unitText,
                                             const std::string& className,
                                             const std::string& handler,
                                             const std::string& eventType);

} // namespace vesk
