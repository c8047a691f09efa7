#include "qx/platform/gfx/internal/dc_impl.h"
#include "qx/platform/gfx/internal/screen_caps.h"
#include "qx/platform/gfx/targets.h"

namespace {

std::unique_ptr<qx::gfx::DcImpl> MakeMemoryImpl() {
    auto impl = std::make_unique<qx::gfx::DcImpl>();
    impl->caps = qx::gfx::ScreenCaps();
    return impl;  // no Cairo context: drawing goes nowhere
}

}  // namespace

CMemoryDC::CMemoryDC() : CDC(MakeMemoryImpl()) {}

CMemoryDC::~CMemoryDC() = default;
