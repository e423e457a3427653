#include "app/KeyMapping.h"

#include "app/KeyBindings.h"

qx::GameKey KeyMapping::ToGameKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    return KeyBindings::Defaults().ToGameKey(qtKey, modifiers);
}
