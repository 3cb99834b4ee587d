#include "commands/web_page_handler.h"

namespace {

std::optional<std::string> DefaultText(ClassesRootReader& registry, const std::string& subKey) {
    std::string value;
    if (!registry.ReadDefaultText(subKey, value)) return std::nullopt;
    return value;
}

}  // namespace

WebPageHandler FindWebPageHandler(ClassesRootReader& registry) {
    WebPageHandler handler;
    std::string handlerClass;
    if (auto found = DefaultText(registry, ".htm")) handlerClass = *found;
    if (auto found = DefaultText(registry, ".html")) handlerClass = *found;
    if (handlerClass.empty()) return handler;
    handler.OpenCommand = DefaultText(registry, handlerClass + "\\shell\\open\\command");
    handler.DdeApplication = DefaultText(registry, handlerClass + "\\shell\\open\\ddeexec\\Application");
    handler.DdeTopic = DefaultText(registry, handlerClass + "\\shell\\open\\ddeexec\\Topic");
    return handler;
}
