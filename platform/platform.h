#pragma once
// The one seam to Windows: every area the logic needs, as references.
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/kernel.h"
#include "platform/locale.h"
#include "platform/printer.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/services.h"
#include "platform/security.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "platform/versioninfo.h"

namespace qm {

struct Platform {
    IRegistry& registry;
    IKernel& kernel;
    ILocale& locale;
    IDialogs& dialogs;
    IUi& ui;
    IResources& resources;
    IFiles& files;
    IPrinter& printer;
    IServices& services;
    IProcesses& processes;
    IVersionInfo& versionInfo;
    IShell& shell;
    ISecurity& security;
};

}  // namespace qm
