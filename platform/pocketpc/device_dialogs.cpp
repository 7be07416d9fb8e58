// Dialogs in the handheld's system font. The handheld draws a template's
// "System" face as Tahoma; a desktop maps "System" to its own raster font,
// whose dialog units are a third wider, and a 240-pixel screen's controls
// would spill over its edge. So the template is copied with "Tahoma" in
// place of "System" before the dialog is made; every other byte stays.
#include "platform/pocketpc/aygshell.h"

#include <cstring>
#include <vector>

namespace {

const wchar_t kTemplateSystemFace[] = L"System";
const wchar_t kDeviceSystemFace[] = L"Tahoma";

// Skips a menu or class field of a template: none, an ordinal, or a string.
const WORD* skipNameOrOrdinal(const WORD* field) {
    if (*field == 0x0000) return field + 1;
    if (*field == 0xFFFF) return field + 2;
    return field + wcslen(reinterpret_cast<const wchar_t*>(field)) + 1;
}

size_t alignToDword(size_t offset) { return (offset + 3) & ~static_cast<size_t>(3); }

// The template as the handheld shows it: a copy with the face swapped when
// the template names "System", otherwise empty (the original serves).
std::vector<DWORD> deviceTemplateOf(const BYTE* original, size_t size) {
    const WORD* words = reinterpret_cast<const WORD*>(original);
    bool extended = words[0] == 1 && words[1] == 0xFFFF;
    DWORD style;  // first in a DLGTEMPLATE; after version, signature, help id and extended style in a DLGTEMPLATEEX
    memcpy(&style, original + (extended ? 12 : 0), sizeof style);
    if ((style & DS_SETFONT) == 0) return {};

    const WORD* field = reinterpret_cast<const WORD*>(original + (extended ? 26 : 18));
    // After the fixed header: menu, class, title, then the font's point size
    // (and, in a DLGTEMPLATEEX, its weight, italic and character set) and face.
    field = skipNameOrOrdinal(field);
    field = skipNameOrOrdinal(field);
    field += wcslen(reinterpret_cast<const wchar_t*>(field)) + 1;
    field += extended ? 3 : 1;
    const wchar_t* face = reinterpret_cast<const wchar_t*>(field);
    if (_wcsicmp(face, kTemplateSystemFace) != 0) return {};

    size_t faceOffset = reinterpret_cast<const BYTE*>(face) - original;
    size_t itemsOffset = alignToDword(faceOffset + (wcslen(face) + 1) * sizeof(wchar_t));
    size_t newItemsOffset = alignToDword(faceOffset + sizeof kDeviceSystemFace);
    size_t newSize = newItemsOffset + (size > itemsOffset ? size - itemsOffset : 0);

    std::vector<DWORD> copy((newSize + 3) / 4, 0);
    BYTE* bytes = reinterpret_cast<BYTE*>(copy.data());
    memcpy(bytes, original, faceOffset);
    memcpy(bytes + faceOffset, kDeviceSystemFace, sizeof kDeviceSystemFace);
    if (size > itemsOffset) memcpy(bytes + newItemsOffset, original + itemsOffset, size - itemsOffset);
    return copy;
}

// The template resource and its device copy (empty when the original serves).
struct DeviceTemplate {
    const DLGTEMPLATE* original = nullptr;
    std::vector<DWORD> copy;
    const DLGTEMPLATE* get() const {
        return copy.empty() ? original : reinterpret_cast<const DLGTEMPLATE*>(copy.data());
    }
};

DeviceTemplate loadDeviceTemplate(HINSTANCE instance, const wchar_t* name) {
    DeviceTemplate result;
    HRSRC resource = FindResourceW(instance, name, RT_DIALOG);
    HGLOBAL loaded = resource != nullptr ? LoadResource(instance, resource) : nullptr;
    const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr) return result;
    result.original = reinterpret_cast<const DLGTEMPLATE*>(bytes);
    result.copy = deviceTemplateOf(bytes, SizeofResource(instance, resource));
    return result;
}

}  // namespace

INT_PTR deviceDialogBox(HINSTANCE instance, const wchar_t* name, HWND owner, DLGPROC procedure, LPARAM param) {
    DeviceTemplate dialogTemplate = loadDeviceTemplate(instance, name);
    if (dialogTemplate.original == nullptr) return -1;
    return DialogBoxIndirectParamW(instance, dialogTemplate.get(), owner, procedure, param);
}

HWND deviceCreateDialog(HINSTANCE instance, const wchar_t* name, HWND owner, DLGPROC procedure, LPARAM param) {
    DeviceTemplate dialogTemplate = loadDeviceTemplate(instance, name);
    if (dialogTemplate.original == nullptr) return nullptr;
    return CreateDialogIndirectParamW(instance, dialogTemplate.get(), owner, procedure, param);
}
