#include "toolkit/data/database_error.h"

#include <string>

#include "runtime/exceptions.h"
#include "toolkit/data/component.h"

namespace vesk {

void DatabaseError(std::string_view message, const TComponent* component) {
  if (component != nullptr && !component->Name().empty())
    throw EDatabaseError(component->Name() + ": " + std::string(message));
  throw EDatabaseError(std::string(message));
}

void DatabaseErrorFmt(std::string_view pattern, std::initializer_list<std::string_view> args,
                      const TComponent* component) {
  DatabaseError(FormatMessage(pattern, args), component);
}

}  // namespace vesk
