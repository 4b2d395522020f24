#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace pw::sim {

// Who connects to a pipe, as the server learns it from the system.
struct PipeCaller {
  std::uint32_t session = 1;
  bool admin = false;  // elevated member of Administrators
  std::string user = "PC\\child";
};

using PipeServe =
    std::function<std::vector<std::uint8_t>(std::span<const std::uint8_t>, const PipeCaller&)>;

// The machine's named pipes. Whoever creates a name first serves it, as with the first-instance
// flag; a server answers each message at once, or not at all while it hangs.
class SimPipes {
 public:
  struct Server {
    int pid = 0;
    PipeServe serve;
    bool hangs = false;
  };

  // False when the name is taken.
  bool Create(const std::string& name, int pid, PipeServe serve);
  void Close(const std::string& name);
  Server* Find(const std::string& name);

 private:
  std::map<std::string, Server> servers_;
};

}  // namespace pw::sim
