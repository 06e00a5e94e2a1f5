// Raising dataset and field failures as EDatabaseError, with the name of the
// component at fault in front of the text when it has one.
#pragma once

#include <initializer_list>
#include <string_view>

namespace vesk {

class TComponent;

// "Name: message" when the component has a name, else the message alone.
[[noreturn]] void DatabaseError(std::string_view message, const TComponent* component = nullptr);
// As DatabaseError with the pattern's "%s" replaced by the arguments.
[[noreturn]] void DatabaseErrorFmt(std::string_view pattern, std::initializer_list<std::string_view> args,
                                   const TComponent* component = nullptr);

}  // namespace vesk
