#include "host/data.h"

namespace data {

String FixDataPath(const String& path) {
    size_t schemeEnd = path.find(u":/");
    if (schemeEnd != String::npos && path.find(u'/') == schemeEnd + 1) return path;
    if (path.rfind(u"./", 0) == 0 || path.rfind(u"/", 0) == 0) return path;
    return u"tarvik://data/" + path;
}

}  // namespace data
