#pragma once
// The GPS track of GoPro cameras (HERO5 to HERO11, HERO13, MAX): GPMF
// samples in a data stream with codec tag 'gpmd' (GpmfDecoder.h), each fix
// placed at its share of its sample's time and carrying its UTC time.
#include "gps/EmbeddedTrackSource.h"

namespace vantrel {

const EmbeddedTrackSource& goProTrackSource();

}  // namespace vantrel
