#include "app/win32/web_links.h"

#include "app/win32/resource_ids.h"
#include "app/win32/texts.h"

namespace lanterra::win32 {

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

std::string WebAddress(int commandId) {
  // The title goes into queries encoded: raw spaces and GBK bytes would make
  // the address invalid, and browsers or servers would cut or mangle it.
  const std::string title = PercentEncode(RECOMMENDATION_TITLE);
  const std::string page = PRODUCT_PAGE;
  switch (commandId) {
    case IDC_SHARE_QZONE:
      return "https://sns.qzone.qq.com/cgi-bin/qzshare/cgi_qzshare_onekey?url=" + page;
    case IDC_SHARE_WEIBO:
      return "https://service.weibo.com/share/share.php?title=" + title + "&url=" + page;
    case IDC_SHARE_KAIXIN: {
      const std::string padded = title + "%20%20%20%20";
      return "http://www.kaixin001.com/~repaste/repaste.php?rtitle=" + padded + "&rcontent=" + padded +
             "&rurl=" + page;
    }
    case IDC_SHARE_RENREN:
      return "http://share.renren.com/share/buttonshare.do?link=" + page;
    case IDC_LATEST_VERSION:
      return std::string(MAKER_SITE) + "/velmora/update_torvin2010.htm";
    case IDC_MAKER_HOME:
      return std::string(MAKER_SITE) + "/";
    case IDC_SIBLING_PRODUCT:
      return std::string(MAKER_SITE) + "/velmora/velmora.htm";
    case IDC_FEEDBACK:
      return std::string(MAKER_SITE) + "/users/?act=suggest&referer=torvin";
    default:
      return {};
  }
}

std::string RecommendationText() { return std::string(RECOMMENDATION_TITLE) + " \r\n" + PRODUCT_PAGE; }

}  // namespace lanterra::win32
