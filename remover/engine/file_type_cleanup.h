#pragma once

namespace remover {

// The current user's VRML file type, extensions and content types that the
// installer registered. Extensions and content types are deleted only while
// they still name the product, so a viewer that took them over keeps them.
void RemoveFileTypeRegistration();

}  // namespace remover
