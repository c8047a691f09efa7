// Umbrella header: every public header of qxbase.
#pragma once

#include "qx/platform/base/array.h"
#include "qx/platform/base/codepage.h"
#include "qx/platform/base/cstring.h"
#include "qx/platform/base/format.h"
#include "qx/platform/base/list.h"
#include "qx/platform/base/map.h"
#include "qx/platform/base/number_parse.h"
#include "qx/platform/base/unicode.h"
#include "qx/platform/base/utf.h"
#include "qx/text/sub_str.h"
#include "qx/tree/exc.h"
#include "qx/tree/leaf.h"
#include "qx/tree/node.h"
#include "qx/tree/tree_item.h"
