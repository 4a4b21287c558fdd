#pragma once

namespace morvex {

// The eleven tabs of the main window, in their order.
enum class MainTab {
    StokListesi,
    Sepet,
    SiparisDurumlari,
    CariEkstre,
    YeniStoklar,
    Kampanyali,
    Duyurular,
    Bakiyeler,
    OrjinalFiyatlar,
    Dosyalar,
    SanalPos,
};
inline constexpr int kMainTabCount = 11;

} // namespace morvex
