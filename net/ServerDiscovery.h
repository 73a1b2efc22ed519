#pragma once

#include "platform/AfxTypes.h"

// The discovery server's host name, a build setting.
#ifndef VANTIX_DISCOVERY_HOST
#define VANTIX_DISCOVERY_HOST "localhost"
#endif

constexpr int kServerAddressBufferSize = 100;

// Fetches the file "server" from the discovery server over FTP (active mode) and puts its
// text, the game server's address, into the buffer. Returns 1 on success, 0 when any step
// fails; the buffer's content is then undefined.
BOOL DiscoverServerAddress(char (&szAddress)[kServerAddressBufferSize]);
