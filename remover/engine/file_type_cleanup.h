#pragma once
namespace remover {

// The current user's VRML file type, extensions and content types that the
// installer registered. Extensions and content types are deleted only while
// they still name the product, so a viewer that took them over keeps them.
// The caller keeps all of it (does not call this) while the control is kept
// and its module is still there: the kept control goes on opening the user's
// scenes.
void RemoveFileTypeRegistration();

}  // namespace remover
