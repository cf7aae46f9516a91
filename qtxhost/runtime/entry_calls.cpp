#include "runtime/entry_calls.h"

#include "system/guarded_memory.h"

namespace {

HostWord nextToken = 0x7000;

HostWord PassParameter(Host& host, const Value& value, std::vector<char*>& strings) {
    if (value.kind == Value::Kind::INTEGER) return AsInt32(value);
    if (value.kind == Value::Kind::NONE) return 0;
    char* copy = GuardedString(value.text);
    if (!copy) {
        host.protocolErrors.push_back("a string parameter of " + std::to_string(value.text.size()) +
                                      " characters could not be allocated");
        return 0;
    }
    strings.push_back(copy);
    return reinterpret_cast<HostWord>(copy);
}

void CheckDialogsPaired(Host& host) {
    if (host.modalDepth == 0) return;
    host.protocolErrors.push_back("BeforeModalDialog and AfterModalDialog are not paired");
    host.modalDepth = 0;
}

Value InvokeAce(Host& host, const RunInfos& infos, RunData* rd, const CatalogueEntry& entry,
                const std::vector<Value>& args) {
    std::vector<char*> strings;
    const HostWord p1 = args.size() > 0 ? PassParameter(host, args[0], strings) : 0;
    const HostWord p2 = args.size() > 1 ? PassParameter(host, args[1], strings) : 0;
    const bool isCondition = entry.kind == EntryKind::CONDITION;
    const HostWord answer = isCondition ? infos.conditionRoutines[entry.code](rd, p1, p2)
                                        : infos.actionRoutines[entry.code](rd, p1, p2);
    for (char* text : strings) GuardedFree(text);
    if (isCondition) return Value::Int(static_cast<std::int32_t>(answer) != 0 ? 1 : 0);
    if (answer != 0) host.protocolErrors.push_back("an action returned nonzero");
    return Value{};
}

Value InvokeExpression(Host& host, const RunInfos& infos, RunData* rd, const CatalogueEntry& entry,
                       const std::vector<Value>& args) {
    std::vector<char*> strings;
    ExpressionArgument& argument = host.argument;
    argument = ExpressionArgument{};
    argument.token = ++nextToken;
    if (!args.empty()) {
        argument.present = true;
        argument.isString = args[0].kind != Value::Kind::INTEGER;
        argument.number = AsInt32(args[0]);
        if (argument.isString) argument.text = reinterpret_cast<const char*>(PassParameter(host, args[0], strings));
    }
    rd->header.hostFlags &= static_cast<std::uint16_t>(~STRING_RESULT);
    const HostWord answer = infos.expressionRoutines[entry.code](rd, argument.token);
    const bool isString = (rd->header.hostFlags & STRING_RESULT) != 0;
    for (char* text : strings) GuardedFree(text);
    argument = ExpressionArgument{};
    if (isString != IsStringExpression(entry))
        host.protocolErrors.push_back(isString ? "an integer expression set STRING_RESULT"
                                               : "a string expression returned without STRING_RESULT");
    if (!isString) return Value::Int(static_cast<std::int32_t>(answer));
    const char* text = reinterpret_cast<const char*>(answer);
    if (text) return Value::Str(text);
    host.protocolErrors.push_back("a string expression returned a null pointer");
    return Value::Str("");
}

// "a.txt", 4: the parameters as a call shows them.
std::string Listed(const std::vector<Value>& args) {
    std::string listed;
    for (std::size_t i = 0; i < args.size(); ++i) listed += (i ? ", " : "") + Show(args[i]);
    return listed;
}

}  // namespace

Value InvokeEntry(Host& host, const RunInfos& infos, RunData* rd, const CatalogueEntry& entry,
                  const std::vector<Value>& args) {
    const Value result = entry.kind == EntryKind::EXPRESSION ? InvokeExpression(host, infos, rd, entry, args)
                                                             : InvokeAce(host, infos, rd, entry, args);
    CheckDialogsPaired(host);
    return result;
}

std::string ShowCall(const CatalogueEntry& entry, const std::vector<Value>& args) {
    return std::string(KindName(entry.kind)) + " " + std::to_string(entry.code) + " \"" + entry.displayString +
           "\"(" + Listed(args) + ")";
}

std::string WrittenCall(const CatalogueEntry& entry, const std::vector<Value>& args, const std::string& objectName) {
    const std::string& display = entry.displayString;
    if (entry.kind == EntryKind::EXPRESSION) {
        if (!args.empty()) return display + Listed(args) + ")";
        return display.ends_with("(") ? display + " )" : display;
    }
    const std::string text = WithoutDigits(display);
    std::vector<std::string> fillers;
    if (text.size() < display.size() && display[0] == '1') fillers.push_back(objectName);
    for (const Value& arg : args) fillers.push_back(Show(arg));
    std::string written;
    std::size_t filled = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "%s") == 0 && filled < fillers.size()) {
            written += fillers[filled++];
            ++i;
        } else {
            written += text[i];
        }
    }
    return written;
}
