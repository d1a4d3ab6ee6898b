#pragma once
// One maker per picture of the production. Each returns the finished canvas;
// make_pictures encodes and names them.
#include "tools/pictures/canvas.h"

Canvas makeTitlePicture();
