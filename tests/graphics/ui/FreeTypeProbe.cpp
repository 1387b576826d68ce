// These definitions take the place of FreeType's own in this executable: the linker binds the
// font's calls to them, and each one passes on to the library's function found after it.
#include "tests/graphics/ui/FreeTypeProbe.h"

#include <dlfcn.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H

namespace {
// Any error code will do: the font treats every non-zero result as failure.
constexpr FT_Error injectedError = FT_Err_Out_Of_Memory;

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool enter(FreeTypeProbe::Function function) {
    ++FreeTypeProbe::calls[function];
    return FreeTypeProbe::failing != function;
}
} // namespace

FT_Error FT_Init_FreeType(FT_Library* library) {
    static const auto real = next<FT_Error (*)(FT_Library*)>("FT_Init_FreeType");
    return enter(FreeTypeProbe::InitFreeType) ? real(library) : injectedError;
}

FT_Error FT_New_Size(FT_Face face, FT_Size* size) {
    static const auto real = next<FT_Error (*)(FT_Face, FT_Size*)>("FT_New_Size");
    return enter(FreeTypeProbe::NewSize) ? real(face, size) : injectedError;
}

FT_Error FT_Activate_Size(FT_Size size) {
    static const auto real = next<FT_Error (*)(FT_Size)>("FT_Activate_Size");
    return enter(FreeTypeProbe::ActivateSize) ? real(size) : injectedError;
}

FT_Error FT_Set_Pixel_Sizes(FT_Face face, FT_UInt width, FT_UInt height) {
    static const auto real = next<FT_Error (*)(FT_Face, FT_UInt, FT_UInt)>("FT_Set_Pixel_Sizes");
    return enter(FreeTypeProbe::SetPixelSizes) ? real(face, width, height) : injectedError;
}

FT_Error FT_Load_Char(FT_Face face, FT_ULong code, FT_Int32 flags) {
    static const auto real = next<FT_Error (*)(FT_Face, FT_ULong, FT_Int32)>("FT_Load_Char");
    FreeTypeProbe::lastCharacterCode = code;
    return enter(FreeTypeProbe::LoadChar) ? real(face, code, flags) : injectedError;
}
