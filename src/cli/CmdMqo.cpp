// vantor-cli mqo: reads a model and writes it back as MQO (a normaliser).

#include "cli/Commands.h"
#include "model/MqoReader.h"
#include "model/MqoWriter.h"

namespace vantor::cli {

namespace {

int runMqo(const Arguments& args) {
    if (handleHelp(kMqoCommand, args)) {
        return kExitOk;
    }
    if (args.size() != 2 || args[0].empty() || args[1].empty()) {
        return reportUsage(kMqoCommand, "an input and an output file are needed");
    }
    QelScene scene;
    const MqoReadResult read = readMqoFile(scene, args[0]);
    if (!read.ok()) {
        return reportModelFailure(args[0], read);
    }
    std::string error;
    if (!scene.SaveMQO(args[1], &error)) {
        return reportFailure("cannot write " + error);
    }
    return kExitOk;
}

} // namespace

const Command kMqoCommand{
    "mqo",
    "read a model and write it back as MQO",
    "usage: vantor-cli mqo IN.mqo OUT.mqo\n"
    "\n"
    "Reads IN (MQO text or zipped .mqoz) and writes the scene as OUT in the form the editor's\n"
    "\"Save MQO\" writes: the material table with its colours, factors and image names, and per\n"
    "object its smoothing angle, visibility, mirror settings, vertices and faces. OUT is\n"
    "replaced only when the new file is complete. IN and OUT may be the same file.\n",
    runMqo,
};

} // namespace vantor::cli
