#include "era/era_file.h"
