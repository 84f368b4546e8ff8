#pragma once
// Where a conversion writes: never over a file the user has, and never a half file under the
// final name. The work goes into a temporary file beside the final one, which gets its name
// only once complete; the name taken then is the first free one.
#include <functional>
#include <string>

namespace qinglan::aplayer::processing {

// "clip.mp4" when free, else "clip (2).mp4", "clip (3).mp4", ... (the number before the
// extension; a name without one gets it at the end). exists() answers for a path.
std::string freeOutputName(const std::string& wanted,
                           const std::function<bool(const std::string&)>& exists);

// Why a conversion must not write `wanted`, in the words shown after "转码失败："; "" when it
// may. A name without a folder (the player's folder setting was empty) or under a relative
// folder would land wherever the player happened to be started.
std::string outputFolderProblem(const std::string& wanted);

class OutputFile {
public:
    explicit OutputFile(std::string wanted) : wanted_(std::move(wanted)) {}
    ~OutputFile(); // removes the temporary file unless committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file (exclusively) in the wanted file's folder. False with a reason.
    bool create(std::string& reason);
    const std::string& temporaryPath() const { return temp_; }
    // Gives the finished file its name: the wanted one, or the next free one when that exists
    // by now. The taken name afterwards in finalPath().
    bool commit(std::string& reason);
    const std::string& finalPath() const { return final_; }
    void discard();

private:
    std::string wanted_;
    std::string temp_;
    std::string final_;
};

bool pathExists(const std::string& path);

} // namespace qinglan::aplayer::processing
