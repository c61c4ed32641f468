// The data module: short resource names become framework paths.
//
//   data::FixDataPath(u"gfx.png")            -> u"tarvik://data/gfx.png"
//   data::FixDataPath(u"./save.txt")         -> unchanged (a plain path)
//   data::FixDataPath(u"tarvik://data/x")    -> unchanged (already has a scheme)
//
// The host maps the framework paths onto folders beside the executable.
#pragma once

#include "host/qvstring.h"

namespace data {

String FixDataPath(const String& path);

}  // namespace data
