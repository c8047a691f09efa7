#include "qx/image/image_types.h"

const wchar_t* ImageErrorMeaning(int error) {
    switch (error) {
        case IMAGE_OK: return L"shown";
        case IMAGE_NO_MEMORY: return L"out of memory, or the file header could not be read";
        case IMAGE_BUILTIN_SHOWN: return L"the file and default.pcx are both missing; a built-in picture is shown";
        case IMAGE_DEFAULT_SHOWN: return L"the file is missing; default.pcx is shown";
        case IMAGE_OPEN_FAILED:
            return L"neither the file nor default.pcx can be opened; a built-in picture is shown";
        case IMAGE_BAD_DEPTH: return L"unsupported colour depth, plane count or compression";
        case IMAGE_BAD_PALETTE_SIZE: return L"unsupported palette size";
        case IMAGE_TIFF_MOTOROLA: return L"TIFF in Motorola byte order";
        case IMAGE_TIFF_COMPRESSED: return L"compressed TIFF";
        case IMAGE_NO_PALETTE: return L"palette not found";
        case IMAGE_SEEK_FAILED: return L"seek in the file failed";
        case IMAGE_READ_FAILED: return L"reading picture data or palette failed";
        case IMAGE_UNKNOWN_FORMAT: return L"file format not recognised";
        case IMAGE_DWG_NO_PREVIEW: return L"DWG drawing without a preview image";
        case IMAGE_FILE_LOCKED: return L"the file is locked by another program; a built-in picture is shown";
        default: return L"unknown image error";
    }
}

unsigned AlignmentFlags(int alignment) {
    switch (alignment) {
        case ALIGN_TOP_CENTER: return ALIGN_FLAG_TOP;
        case ALIGN_TOP_RIGHT: return ALIGN_FLAG_TOP | ALIGN_FLAG_RIGHT;
        case ALIGN_RIGHT_CENTER: return ALIGN_FLAG_RIGHT;
        case ALIGN_BOTTOM_RIGHT: return ALIGN_FLAG_BOTTOM | ALIGN_FLAG_RIGHT;
        case ALIGN_BOTTOM_CENTER: return ALIGN_FLAG_BOTTOM;
        case ALIGN_BOTTOM_LEFT: return ALIGN_FLAG_BOTTOM | ALIGN_FLAG_LEFT;
        case ALIGN_LEFT_CENTER: return ALIGN_FLAG_LEFT;
        case ALIGN_TOP_LEFT: return ALIGN_FLAG_TOP | ALIGN_FLAG_LEFT;
        default: return 0;
    }
}
