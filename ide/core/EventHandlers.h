// Event handlers in a form's unit: the parameter list of an event type, and a new
// handler's declaration in the form class with its empty body in the implementation.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace vesk {

// The parameters of a handler of the event type ("(Sender: TObject)" for
// TNotifyEvent); none for a type whose parameters are not known here.
std::optional<std::string> EventParameters(const std::string& eventType);

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
