#pragma once

#include "platform/shell_opener.h"

#include <string>
#include <vector>

namespace velmora::test
{

/// A shell that opens nothing: it records each call and answers with a set value.
class TFakeShellOpener : public IShellOpener
{
public:
    struct TCall {
        TWindowHandle Window;
        std::string Operation;
        std::string FileName;
        std::string Parameters;
        std::string Directory;
        int ShowCommand;
        bool operator==(const TCall&) const = default;
    };

    explicit TFakeShellOpener(int answer = Started)
        : m_answer(answer)
    {
    }

    int ShellExecute(TWindowHandle window, const std::string& operation,
        const std::string& fileName, const std::string& parameters, const std::string& directory,
        int showCommand) override
    {
        m_calls.push_back({ window, operation, fileName, parameters, directory, showCommand });
        return m_answer;
    }

    void SetAnswer(int answer) { m_answer = answer; }
    const std::vector<TCall>& Calls() const { return m_calls; }

private:
    int m_answer;
    std::vector<TCall> m_calls;
};

} // namespace velmora::test
