#pragma once

namespace kalvo {}
