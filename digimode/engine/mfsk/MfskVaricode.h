// The IZ8BLY MFSK varicode.
#pragma once
namespace digimode::mfsk {
}
