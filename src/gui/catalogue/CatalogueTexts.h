#pragma once

#include <QString>

// Every text the stock list and the genuine-part price tab show, in one place.
namespace morvex::cataloguetexts {

using namespace Qt::StringLiterals;

inline QString stockTabCaption() { return u"Stok\r\nListesi"_s; }
// The caption after a failed search or a clear: one line.
inline QString stockTabPlainCaption() { return u"Stok Listesi"_s; }
inline QString genuineTabCaption() { return u"Orjinal\r\nFiyatlar"_s; }

inline QString tooShort() { return u"Lütfen en az 3 harf giriniz !"_s; }

// Context menu `popstok`.
inline QString addToBasket() { return u"Sepete Ekle"_s; }
inline QString orderBalances() { return u"Sipariş Bakiyeleriniz"_s; }
inline QString showOrders() { return u"Siparişleri Göster"_s; }

inline QString clearHint() { return u"Temizle"_s; }

// Windows that other parts of the program provide; named in the error shown while one is missing.
inline QString missingWindow(const QString &window) { return window + u" penceresi bu sürümde henüz yok."_s; }
inline QString stockDetailWindow() { return u"Sepete Ekle (Tstokayarinti)"_s; }
inline QString orderBalancesWindow() { return u"Sipariş Bakiyeleriniz (Tbakiyesiparisler)"_s; }
inline QString itemOrdersWindow() { return u"Sipariş Hareketleri (Ttumsiparisler)"_s; }

} // namespace morvex::cataloguetexts
