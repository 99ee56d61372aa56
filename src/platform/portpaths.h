#pragma once

// The mapping between the application's port numbers and serial device paths.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr int kFirstPortNumber = 1;
inline constexpr int kLastPortNumber = 256;
// Numbers from here to kLastPortNumber are device paths the user names.
inline constexpr int kFirstUserPortNumber = 161;

// The user's named device paths by port number (kFirstUserPortNumber and up),
// kept in the settings group "PortPaths".
using PortPaths = std::map<int, std::string>;

// The device name of a numbered port below kFirstUserPortNumber ("ttyUSB0" for
// 33), or none for every other number.
std::optional<std::string> PortDeviceName(int port);
// The reverse: the number of "ttyS0".."ttyS31", "ttyUSB0".."ttyUSB63" or
// "ttyACM0".."ttyACM63", else none.
std::optional<int> PortNumberOfDeviceName(std::string_view name);

// The device path of a port number: "/dev/" and its device name, or the user's
// path for a named number; none outside 1..256 and for an unnamed user number.
std::optional<std::string> PortDevicePath(int port, const PortPaths& userPaths);
// The number of a device path: a user's path first, then "/dev/<device name>".
std::optional<int> PortNumberOfPath(std::string_view path, const PortPaths& userPaths);

// The path a port number from 1 to 256 opens: the environment's RWQ_PORT_PATH
// when set and not empty (a simulated radio or an unusual device), else
// PortDevicePath.
std::optional<std::string> PortOpenPath(int port, const PortPaths& userPaths);

}  // namespace platform
