// Peak memory and time of reading profile files, hostile and genuine. Each
// case runs in a child process of its own so that its peak resident set is
// its own: the figure printed is the child's peak minus its resident set
// before the read, next to the file size.
//
//   bench_import_memory [folder]     (the files are written there; default /tmp)

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "base/text.h"
#include "xml/profile_file.h"

namespace {

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

long CurrentRssKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

void WriteFile(const std::string& path, const std::function<void(std::ofstream&)>& fill) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  fill(out);
}

// `<item/>` elements inside a profile's button list up to `bytes`.
void Bomb(std::ofstream& out, size_t bytes) {
  const std::string head = kDecl + "<profile><profileinfo name=\"bomb\"><keyitems>";
  const std::string tail = "</keyitems></profileinfo></profile>";
  out << head;
  const std::string chunk = [] {
    std::string c;
    for (int i = 0; i < 4096; ++i) c += "<item/>";
    return c;
  }();
  size_t written = head.size() + tail.size();
  while (written + chunk.size() <= bytes) {
    out << chunk;
    written += chunk.size();
  }
  while (written + 7 <= bytes) {
    out << "<item/>";
    written += 7;
  }
  out << tail;
}

// A profile as the program writes it, with `count` button rows.
void Genuine(std::ofstream& out, int count) {
  out << kDecl << "<profile>\r\n<profileinfo name=\"large\">\r\n<keyitems>\r\n";
  for (int i = 0; i < count; ++i) {
    out << "<item key_code=\"" << i % 11 << "\" macro_type=\"1\" macro_value=\"" << i
        << "\" macro_value2=\"0\" macro_value3=\"0\" macro_desc=\"Key " << i << "\"/>\r\n";
  }
  out << "</keyitems>\r\n<Mouse>\r\n<report_rate value=\"1000\"/>\r\n</Mouse>\r\n"
         "</profileinfo>\r\n</profile>\r\n";
}

// One attribute holding most of the file: text, few elements.
void BigAttribute(std::ofstream& out, size_t bytes) {
  out << kDecl << "<profile><profileinfo name=\"";
  const std::string chunk(1 << 16, 'x');
  for (size_t n = 0; n + chunk.size() < bytes; n += chunk.size()) out << chunk;
  out << "\"/></profile>";
}

void Measure(const char* label, const std::string& path) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    const long before = CurrentRssKb();
    const auto start = std::chrono::steady_clock::now();
    const auto content = tk410::ReadProfileFile(tk410::FromUtf8(path));
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const long peak = PeakRssKb();
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const double file_mb = static_cast<double>(in.tellg()) / (1 << 20);
    const double grown_mb = static_cast<double>(peak - before) / 1024;
    std::printf("%-28s file %7.2f MiB  peak +%8.1f MiB (%5.1fx file)  %8.1f ms  %s, %zu rows\n",
                label, file_mb, grown_mb, grown_mb / file_mb, ms,
                content ? "read" : "refused", content ? content->keys.size() : size_t{0});
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    std::printf("%-28s child ended abnormally (status %d)\n", label, status);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "/tmp";
  const std::string bomb = folder + "/tk410-bench-bomb.xml";
  const std::string genuine = folder + "/tk410-bench-genuine.xml";
  const std::string attribute = folder + "/tk410-bench-attribute.xml";
  const size_t limit = 32u << 20;

  WriteFile(bomb, [&](std::ofstream& out) { Bomb(out, limit); });
  Measure("32 MiB <item/> bomb", bomb);
  WriteFile(genuine, [](std::ofstream& out) { Genuine(out, 100000); });
  Measure("100 000 button rows", genuine);
  WriteFile(genuine, [](std::ofstream& out) { Genuine(out, 1000); });
  Measure("1 000 button rows", genuine);
  WriteFile(attribute, [&](std::ofstream& out) { BigAttribute(out, limit - 1024); });
  Measure("32 MiB attribute", attribute);

  for (const std::string& path : {bomb, genuine, attribute}) std::remove(path.c_str());
  return 0;
}
