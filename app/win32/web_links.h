// The web addresses of the Help menu and the recommendation text. Portable,
// so they are tested without Windows.
#pragma once

#include <string>
#include <string_view>

namespace lanterra::win32 {

// The product page every share and the recommendation point to.
inline constexpr char PRODUCT_PAGE[] = "https://www.quillon.example/velmora/torvin2010.htm";

// Percent-encodes every byte but the unreserved ASCII letters, digits and
// "-._~", so GBK bytes and spaces become valid in a query.
std::string PercentEncode(std::string_view bytes);

// The address command id opens, or "" for an id that opens no page.
std::string WebAddress(int commandId);

// What "copy the recommendation" puts on the clipboard: the title, a space,
// CR LF and the product page.
std::string RecommendationText();

}  // namespace lanterra::win32
