#include "app/web_links.h"

#include "app/menu_texts.h"

namespace lanterra {

namespace {

constexpr char MAKER_SITE[] = "https://www.quillon.example";

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string PercentEncode(std::string_view bytes) {
  constexpr char HEX[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char c : bytes) {
    if (IsUnreserved(c)) {
      out += char(c);
    } else {
      out += '%';
      out += HEX[c >> 4];
      out += HEX[c & 15];
    }
  }
  return out;
}

std::string WebAddress(WebPage page) {
  // The title goes into queries encoded: raw spaces and GBK bytes would make
  // the address invalid, and browsers or servers would cut or mangle it.
  const std::string title = PercentEncode(RECOMMENDATION_TITLE);
  const std::string product = PRODUCT_PAGE;
  switch (page) {
    case WebPage::SHARE_QZONE:
      return "https://sns.qzone.qq.com/cgi-bin/qzshare/cgi_qzshare_onekey?url=" + product;
    case WebPage::SHARE_WEIBO:
      return "https://service.weibo.com/share/share.php?title=" + title + "&url=" + product;
    case WebPage::SHARE_KAIXIN: {
      const std::string padded = title + "%20%20%20%20";
      return "http://www.kaixin001.com/~repaste/repaste.php?rtitle=" + padded + "&rcontent=" + padded +
             "&rurl=" + product;
    }
    case WebPage::SHARE_RENREN:
      return "http://share.renren.com/share/buttonshare.do?link=" + product;
    case WebPage::LATEST_VERSION:
      return std::string(MAKER_SITE) + "/velmora/update_torvin2010.htm";
    case WebPage::MAKER_HOME:
      return std::string(MAKER_SITE) + "/";
    case WebPage::SIBLING_PRODUCT:
      return std::string(MAKER_SITE) + "/velmora/velmora.htm";
    case WebPage::FEEDBACK:
      return std::string(MAKER_SITE) + "/users/?act=suggest&referer=torvin";
  }
  return {};
}

std::string RecommendationText() { return std::string(RECOMMENDATION_TITLE) + " \r\n" + PRODUCT_PAGE; }

}  // namespace lanterra
