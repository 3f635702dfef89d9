#pragma once

// A small tmpfs for tests of full and read-only disks, where the system lets a
// test mount one (as root, outside a confining container).

#include <sys/mount.h>
#include <sys/stat.h>

#include <string>

class Tmpfs {
 public:
  // Mounts on `folder` (made when missing) with mount options such as "size=64k".
  Tmpfs(const std::string& folder, const char* options) : folder_(folder) {
    mkdir(folder.c_str(), 0755);
    mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, options) == 0;
  }
  ~Tmpfs() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  Tmpfs(const Tmpfs&) = delete;
  Tmpfs& operator=(const Tmpfs&) = delete;

  bool mounted() const { return mounted_; }
  bool makeReadOnly() { return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

 private:
  std::string folder_;
  bool mounted_ = false;
};
