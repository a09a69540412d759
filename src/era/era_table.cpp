#include "era/era_table.h"
