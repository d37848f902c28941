#pragma once
// The simulated printer: none until a test installs one; jobs are recorded.
#include <optional>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace qm::sim {

class SimPrinter : public IPrinter {
public:
    std::optional<PrinterMetrics> metrics() override { return installed; }
    void printRichText(IControlPeer& richText, const std::string& jobTitle, const PageRect& page) override;

    struct Job {
        std::string title;
        PageRect page;
        std::vector<uint8_t> document;
    };
    std::optional<PrinterMetrics> installed;
    std::vector<Job> jobs;
    std::string failure;  // when set, the next job fails with this reason
};

}  // namespace qm::sim
