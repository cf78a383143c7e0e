#pragma once

namespace orvella::printer {

// Initialises the network libraries of the printer layer. Call once from
// main() (and from test set-up) before any thread starts; later calls do nothing.
void InitTransportLibraries();

}  // namespace orvella::printer
