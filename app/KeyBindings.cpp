#include "app/KeyBindings.h"

#include <SDL.h>

#include <QKeySequence>
#include <QSettings>

using qx::GameKey;

namespace {

struct ActionInfo {
    GameKey action;
    BoundKey key;
    int button;
    const char* settingsName;
    const char* name;
};

// The game's own keys and pad buttons.
const ActionInfo kInfo[] = {
    {GameKey::Up,
     {Qt::Key_Up, false},
     KeyBindings::kNoButton,
     "nahoru",
     QT_TRANSLATE_NOOP("KeyBindings", "Nahoru")},
    {GameKey::Down,
     {Qt::Key_Down, false},
     KeyBindings::kNoButton,
     "dolu",
     QT_TRANSLATE_NOOP("KeyBindings", "Dolu")},
    {GameKey::Left,
     {Qt::Key_Left, false},
     KeyBindings::kNoButton,
     "vlevo",
     QT_TRANSLATE_NOOP("KeyBindings", "Vlevo")},
    {GameKey::Right,
     {Qt::Key_Right, false},
     KeyBindings::kNoButton,
     "vpravo",
     QT_TRANSLATE_NOOP("KeyBindings", "Vpravo")},
    {GameKey::UpLeft,
     {Qt::Key_Home, false},
     KeyBindings::kNoButton,
     "vlevo-nahoru",
     QT_TRANSLATE_NOOP("KeyBindings", "Vlevo nahoru")},
    {GameKey::UpRight,
     {Qt::Key_9, true},
     KeyBindings::kNoButton,
     "vpravo-nahoru",
     QT_TRANSLATE_NOOP("KeyBindings", "Vpravo nahoru")},
    {GameKey::DownLeft,
     {Qt::Key_End, false},
     KeyBindings::kNoButton,
     "vlevo-dolu",
     QT_TRANSLATE_NOOP("KeyBindings", "Vlevo dolu")},
    {GameKey::DownRight,
     {Qt::Key_3, true},
     KeyBindings::kNoButton,
     "vpravo-dolu",
     QT_TRANSLATE_NOOP("KeyBindings", "Vpravo dolu")},
    {GameKey::Stop,
     {Qt::Key_Insert, false},
     SDL_CONTROLLER_BUTTON_Y,
     "stat",
     QT_TRANSLATE_NOOP("KeyBindings", "Stat")},
    {GameKey::Space,
     {Qt::Key_Space, false},
     SDL_CONTROLLER_BUTTON_A,
     "strela-dopredu",
     QT_TRANSLATE_NOOP("KeyBindings", "Strela dopredu")},
    {GameKey::X,
     {Qt::Key_X, false},
     SDL_CONTROLLER_BUTTON_B,
     "strela-dolu",
     QT_TRANSLATE_NOOP("KeyBindings", "Strela dolu")},
    {GameKey::C,
     {Qt::Key_C, false},
     SDL_CONTROLLER_BUTTON_X,
     "strela-nahoru",
     QT_TRANSLATE_NOOP("KeyBindings", "Strela nahoru")},
    {GameKey::Enter,
     {Qt::Key_Return, false},
     SDL_CONTROLLER_BUTTON_X,
     "imperator-strela-nahoru",
     QT_TRANSLATE_NOOP("KeyBindings", "Strela nahoru")},
};

const ActionInfo& Info(GameKey action) {
    for (const ActionInfo& info : kInfo) {
        if (info.action == action) return info;
    }
    return kInfo[0];
}

// The keypad digits laid out as the directions they steer to.
constexpr GameKey kKeypadDigits[10] = {
    GameKey::Stop, GameKey::DownLeft, GameKey::Down,   GameKey::DownRight, GameKey::Left,
    GameKey::None, GameKey::Right,    GameKey::UpLeft, GameKey::Up,        GameKey::UpRight,
};

// Keys that already mean something else: the pause, the menu, leaving a box.
bool Reserved(int code) {
    switch (code) {
        case Qt::Key_P:
        case Qt::Key_Pause:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_F4:
        case Qt::Key_unknown:
        case 0:
            return true;
        default:
            return false;
    }
}

// The Emperor's pad buttons that fire forward or downward, and Start.
bool EmperorFixed(int button) {
    return button == SDL_CONTROLLER_BUTTON_A || button == SDL_CONTROLLER_BUTTON_B ||
           button == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER || button == SDL_CONTROLLER_BUTTON_START;
}

bool RebelFixed(int button) {
    return button == SDL_CONTROLLER_BUTTON_START ||
           (button >= SDL_CONTROLLER_BUTTON_DPAD_UP && button <= SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
}

}  // namespace

const KeyBindings& KeyBindings::Defaults() {
    static const KeyBindings defaults = [] {
        KeyBindings b;
        for (const ActionInfo& info : kInfo) {
            b.keys[info.action] = info.key;
            b.buttons[info.action] = info.button;
        }
        return b;
    }();
    return defaults;
}

BoundKey KeyBindings::Key(GameKey action) const {
    const auto it = keys.find(action);
    return it == keys.end() ? BoundKey{} : it->second;
}

int KeyBindings::PadButton(GameKey action) const {
    const auto it = buttons.find(action);
    return it == buttons.end() ? kNoButton : it->second;
}

bool KeyBindings::HasPadButton(GameKey action) {
    return Info(action).button != kNoButton;
}

bool KeyBindings::IsDefault(GameKey action) const {
    return Key(action) == Defaults().Key(action) &&
           PadButton(action) == Defaults().PadButton(action);
}

GameKey KeyBindings::KeyUser(BoundKey key) const {
    for (const auto& [action, bound] : keys) {
        if (bound == key) return action;
    }
    return GameKey::None;
}

QString KeyBindings::AssignKey(GameKey action, BoundKey key) {
    if (Reserved(key.code)) return tr("Klavesu %1 nelze pouzit.").arg(KeyName(key));
    const GameKey user = KeyUser(key);
    if (user != GameKey::None && user != action) {
        return tr("Klavesa %1 uz patri akci \"%2\".").arg(KeyName(key), ActionName(user));
    }
    keys[action] = key;
    return {};
}

QString KeyBindings::AssignPadButton(GameKey action, int button) {
    if (!HasPadButton(action)) return tr("Tuto akci ovlada packa a krizovy ovladac.");
    const bool emperor = action == GameKey::Enter;
    if (button < 0 || (emperor ? EmperorFixed(button) : RebelFixed(button))) {
        return tr("Tlacitko %1 uz ma jinou ulohu.").arg(PadButtonName(button));
    }
    for (const auto& [other, bound] : buttons) {
        const bool sameSide = (other == GameKey::Enter) == emperor;
        if (other != action && sameSide && bound == button) {
            return tr("Tlacitko %1 uz patri akci \"%2\".")
                .arg(PadButtonName(button), ActionName(other));
        }
    }
    buttons[action] = button;
    return {};
}

// The other keys of a default: the keypad digits of the moves (Num Lock on)
// and the keypad's Enter.
GameKey KeyBindings::DefaultAlias(int qtKey, bool keypad) const {
    GameKey alias = GameKey::None;
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        alias = kKeypadDigits[qtKey - Qt::Key_0];
    } else if (qtKey == Qt::Key_Enter) {
        alias = GameKey::Enter;
    }
    if (alias == GameKey::None || Key(alias) != Defaults().Key(alias)) return GameKey::None;
    return alias;
}

GameKey KeyBindings::ToGameKey(int qtKey, Qt::KeyboardModifiers modifiers) const {
    if (modifiers & Qt::AltModifier) return GameKey::None;
    const bool keypad = modifiers & Qt::KeypadModifier;
    if (const GameKey exact = KeyUser({qtKey, keypad}); exact != GameKey::None) return exact;
    if (const GameKey alias = DefaultAlias(qtKey, keypad); alias != GameKey::None) return alias;
    // With Num Lock off the keypad sends the arrows, Home, End and Insert.
    if (keypad && !(qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return KeyUser({qtKey, false});
    return GameKey::None;
}

GameKey KeyBindings::RebelPadAction(int button) const {
    for (const auto& [action, bound] : buttons) {
        if (action != GameKey::Enter && bound == button) return action;
    }
    return GameKey::None;
}

bool KeyBindings::EmperorFiresUp(int button) const {
    if (button == PadButton(GameKey::Enter)) return true;
    // The left shoulder fires up as well while the choice is the default.
    return button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER &&
           PadButton(GameKey::Enter) == Defaults().PadButton(GameKey::Enter);
}

QString KeyBindings::SettingsName(GameKey action) {
    return QString::fromLatin1(Info(action).settingsName);
}

QString KeyBindings::ActionName(GameKey action) {
    const QString name = tr(Info(action).name);
    return action == GameKey::Enter ? tr("%1 (imperator)").arg(name) : name;
}

QString KeyBindings::KeyName(BoundKey key) {
    static const std::map<int, const char*> kNames = {
        {Qt::Key_Space, QT_TRANSLATE_NOOP("KeyBindings", "mezernik")},
        {Qt::Key_Up, QT_TRANSLATE_NOOP("KeyBindings", "sipka nahoru")},
        {Qt::Key_Down, QT_TRANSLATE_NOOP("KeyBindings", "sipka dolu")},
        {Qt::Key_Left, QT_TRANSLATE_NOOP("KeyBindings", "sipka vlevo")},
        {Qt::Key_Right, QT_TRANSLATE_NOOP("KeyBindings", "sipka vpravo")},
        {Qt::Key_Return, "Enter"},
        {Qt::Key_Enter, "Enter"},
    };
    const auto named = kNames.find(key.code);
    QString name = named != kNames.end()
                       ? tr(named->second)
                       : QKeySequence(key.code).toString(QKeySequence::PortableText);
    if (key.keypad) name = tr("num. %1").arg(name);
    return name;
}

QString KeyBindings::PadButtonName(int button) {
    if (button == kNoButton) return QStringLiteral("-");
    const char* name =
        SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    return name ? QString::fromLatin1(name).toUpper() : QStringLiteral("?");
}

void KeyBindings::Save(QSettings& store) const {
    store.remove(QStringLiteral("Klavesy"));
    store.remove(QStringLiteral("Gamepad"));
    for (const GameKey action : kActions) {
        const QString name = SettingsName(action);
        const BoundKey key = Key(action);
        if (key != Defaults().Key(action)) {
            const QKeySequence sequence(key.code |
                                        (key.keypad ? Qt::KeypadModifier : Qt::NoModifier));
            store.setValue(QStringLiteral("Klavesy/") + name,
                           sequence.toString(QKeySequence::PortableText));
        }
        const int button = PadButton(action);
        if (button != Defaults().PadButton(action)) {
            store.setValue(QStringLiteral("Gamepad/") + name, PadButtonName(button).toLower());
        }
    }
}

KeyBindings KeyBindings::Load(const QSettings& store) {
    KeyBindings loaded = Defaults();
    // Each stored key first leaves its default, so that keys may swap.
    std::map<GameKey, BoundKey> wanted;
    for (const GameKey action : kActions) {
        const QVariant value = store.value(QStringLiteral("Klavesy/") + SettingsName(action));
        if (value.typeId() != QMetaType::QString) continue;
        const QKeySequence sequence =
            QKeySequence::fromString(value.toString(), QKeySequence::PortableText);
        if (sequence.count() != 1) continue;
        const QKeyCombination combination = sequence[0];
        if (combination.keyboardModifiers() & ~Qt::KeypadModifier) continue;
        wanted[action] = {combination.key(),
                          (combination.keyboardModifiers() & Qt::KeypadModifier) != 0};
        loaded.keys[action] = {};
    }
    for (const auto& [action, key] : wanted) {
        if (!loaded.AssignKey(action, key).isEmpty()) return Defaults();
    }
    std::map<GameKey, int> wantedButtons;
    for (const GameKey action : kActions) {
        const QVariant value = store.value(QStringLiteral("Gamepad/") + SettingsName(action));
        if (value.typeId() != QMetaType::QString || !HasPadButton(action)) continue;
        const int button = SDL_GameControllerGetButtonFromString(qPrintable(value.toString()));
        if (button == SDL_CONTROLLER_BUTTON_INVALID) continue;
        wantedButtons[action] = button;
        loaded.buttons[action] = kNoButton;
    }
    for (const auto& [action, button] : wantedButtons) {
        if (!loaded.AssignPadButton(action, button).isEmpty()) {
            loaded.buttons = Defaults().buttons;
            break;
        }
    }
    return loaded;
}
