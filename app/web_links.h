// The web pages the Help menu opens and the recommendation text: the
// window opens and copies them itself, the page does the same inside the
// player's click, since a browser allows that only there.
#pragma once

#include <string>
#include <string_view>

namespace lanterra {

enum class WebPage {
  SHARE_QZONE,
  SHARE_WEIBO,
  SHARE_KAIXIN,
  SHARE_RENREN,
  LATEST_VERSION,
  MAKER_HOME,
  SIBLING_PRODUCT,
  FEEDBACK,
};

// The product page every share and the recommendation point to.
inline constexpr char PRODUCT_PAGE[] = "https://www.quillon.example/velmora/torvin2010.htm";

// Percent-encodes every byte but the unreserved ASCII letters, digits and
// "-._~", so GBK bytes and spaces become valid in a query.
std::string PercentEncode(std::string_view bytes);

// The address of a page.
std::string WebAddress(WebPage page);

// What "copy the recommendation" puts on the clipboard: the title, a space,
// CR LF and the product page.
std::string RecommendationText();

}  // namespace lanterra
