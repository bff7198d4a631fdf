// The settings-array readers. Elements are read with lookups that create
// nothing, because an array element or member read the ordinary way would be
// created empty in the shared settings.
#include "game/settings/SettingsArray.h"

#include "game/settings/Setting.h"

#include "value.h"

namespace Kura {

namespace {

// The member of element index of the array, or null.
Kel::Holder* RecordMember(const std::string& arrayKey, int32_t index, const std::string& member) {
    Setting* setting = Setting::get();
    if (setting == nullptr || index < 0) return nullptr;
    Kel::Ref array = setting->getValue(arrayKey);
    if (index >= array.value()->count()) return nullptr;
    Kel::Holder* record = array.value()->elementAt(index);
    return record ? record->value()->findMember(member) : nullptr;
}

bool InArray(const std::string& arrayKey, int32_t index) {
    return index >= 0 && index < SettingsArray::Count(arrayKey);
}

} // namespace

namespace SettingsArray {

int32_t Count(const std::string& arrayKey) {
    Setting* setting = Setting::get();
    return setting ? setting->getValue(arrayKey).value()->count() : 0;
}

std::optional<std::string> Text(const std::string& arrayKey, int32_t index,
                                const std::string& member) {
    if (!InArray(arrayKey, index)) return std::nullopt;
    Kel::Holder* value = RecordMember(arrayKey, index, member);
    return value ? value->value()->toString().str() : std::string();
}

std::optional<int32_t> Int(const std::string& arrayKey, int32_t index, const std::string& member) {
    if (!InArray(arrayKey, index)) return std::nullopt;
    Kel::Holder* value = RecordMember(arrayKey, index, member);
    return value ? value->value()->toInt() : 0;
}

} // namespace SettingsArray

} // namespace Kura
