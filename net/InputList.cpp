#include "net/InputList.h"

namespace qx::net {

bool InputList::Add(const GameInput& input) {
    if (size >= kCapacity) return false;
    items[size++] = input;
    return true;
}

bool InputList::AddTarget(int32_t x, int32_t y) {
    for (size_t i = 0; i < size; ++i) {
        if (items[i].kind == InputKind::Target) {
            items[i] = GameInput::Target(x, y);
            return true;
        }
    }
    return Add(GameInput::Target(x, y));
}

void InputList::Clear() {
    size = 0;
}

bool InputList::operator==(const InputList& other) const {
    if (size != other.size) return false;
    for (size_t i = 0; i < size; ++i) {
        if (!(items[i] == other.items[i])) return false;
    }
    return true;
}

}  // namespace qx::net
